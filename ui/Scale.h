// Display scale: the layout is drawn up in pixels at 96 DPI (100 %), and each
// window multiplies its sizes and positions by the DPI of its monitor over
// 96. Fonts go by point size, so that their pixels follow the DPI too.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <string>

namespace ui {

// The DPI at which the layout's pixel figures are given.
inline constexpr int kDesignDpi = 96;

class Scale {
public:
    constexpr explicit Scale(int dpi = kDesignDpi) : dpi_(dpi > 0 ? dpi : kDesignDpi) {}

    constexpr int Dpi() const { return dpi_; }
    constexpr bool IsDesign() const { return dpi_ == kDesignDpi; }

    // A length in design pixels, in pixels at this scale, rounded to nearest
    // (halves away from zero, so that negative offsets mirror positive ones).
    constexpr int Px(int design) const {
        const long long scaled = static_cast<long long>(design) * dpi_;
        return static_cast<int>(scaled >= 0 ? (scaled + kDesignDpi / 2) / kDesignDpi
                                            : -((-scaled + kDesignDpi / 2) / kDesignDpi));
    }
    constexpr POINT Px(POINT p) const { return {Px(p.x), Px(p.y)}; }
    constexpr SIZE Px(SIZE s) const { return {Px(s.cx), Px(s.cy)}; }
    // Each edge is scaled, so that rectangles that meet at design size
    // still meet, with no gap or overlap.
    constexpr RECT Px(RECT r) const { return {Px(r.left), Px(r.top), Px(r.right), Px(r.bottom)}; }

    // The artwork drawn for the scale nearest to this one: 100, 150 or 200.
    constexpr int ArtworkPercent() const {
        const int percent = dpi_ * 100 / kDesignDpi;
        return percent < 125 ? 100 : percent < 175 ? 150 : 200;
    }

private:
    int dpi_;
};

// Converts a length between two DPI values, rounded to nearest.
int Rescale(int length, int fromDpi, int toDpi);

// The DPI that the system gives windows by default.
int SystemDpi();
// The DPI of the monitor that holds the window (the system's where the
// per-monitor query is not to be had).
int WindowDpi(HWND window);

// The pixel height of characters of the given point size at a DPI.
int PointsToPixels(double points, int dpi);

// True when a font of that face is installed (or the system maps the name
// onto one that is, as it does for its own substitutes).
bool FontFaceInstalled(const std::wstring& face);
// The face of the system's message font, the one its message boxes use.
std::wstring MessageFontFace();
// The face itself when installed, else the system's message font face.
std::wstring InstalledFaceOrMessageFont(const std::wstring& face);

// The same font with its height converted from one DPI to another. Fonts
// made here are kept for the program's life, so callers borrow them; the
// font itself comes back when the DPI values are equal.
HFONT RescaledFont(HFONT font, int fromDpi, int toDpi);

} // namespace ui
