// The sizes of the marks' tools on the screen: each is written once here in
// pixels at 96 DPI, and one factor, 1 at 96 DPI, turns it into the window's
// pixels at any display scale.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace picture {

class MarkMetrics {
public:
    explicit MarkMetrics(double scale = 1) : scale_(scale) {}
    // The scale of the display that the window is on.
    static MarkMetrics ForWindow(HWND window) {
        const UINT dpi = window ? GetDpiForWindow(window) : 0;
        return MarkMetrics(dpi ? dpi / 96.0 : 1.0);
    }

    double Scale() const { return scale_; }
    // A size at 96 DPI in the window's pixels, never less than one.
    int Pixels(int at96) const { return std::max(1, static_cast<int>(std::lround(at96 * scale_))); }

    // The tool strip: its height, a tool button's width and height, a
    // colour swatch's side, the gaps, the captions' character height.
    static constexpr int kStripHeight = 34;
    static constexpr int kToolWidth = 100;
    static constexpr int kToolHeight = 26;
    static constexpr int kSwatchSide = 20;
    static constexpr int kGap = 6;
    static constexpr int kCaptionHeight = 13;
    // The marks as first drawn, whatever the zoom: the width of an arrow's
    // or a box's line, of a highlighter stroke, and a text's character height.
    static constexpr int kLineWidth = 3;
    static constexpr int kHighlighterWidth = 16;
    static constexpr int kTextHeight = 20;

private:
    double scale_;
};

} // namespace picture
