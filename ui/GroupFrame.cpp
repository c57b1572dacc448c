#include "ui/GroupFrame.h"

#include "ui/Handles.h"
#include "ui/Scale.h"
#include "ui/Resources.h"

namespace ui {

namespace {

// The caption starts this far from the frame's left edge, with a gap of
// kCaptionGap pixels on either side where the frame line is left out.
constexpr int kCaptionLeft = 8;
constexpr int kCaptionGap = 2;

} // namespace

void GroupFrame::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    Invalidate();
}

SIZE GroupFrame::CaptionExtent() const {
    // The height counts even without a caption, so that frames line up.
    SIZE extent = TextExtent(Font, caption_.empty() ? L" " : caption_);
    if (caption_.empty()) extent.cx = 0;
    return extent;
}

void GroupFrame::ScaleContent(int fromDpi, int toDpi) { Font = RescaledFont(Font, fromDpi, toDpi); }

void GroupFrame::Paint(HDC dc) {
    const SIZE caption = CaptionExtent();
    // The frame's top line runs through the middle of the caption.
    RECT frame{0, caption.cy / 2, Width(), Height()};
    const int saved = SaveDC(dc);
    if (!caption_.empty())
        ExcludeClipRect(dc, kCaptionLeft - kCaptionGap, 0, kCaptionLeft + caption.cx + kCaptionGap, caption.cy);
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    RestoreDC(dc, saved);
    if (caption_.empty()) return;
    ScopedSelect font(dc, Font ? static_cast<HGDIOBJ>(Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, TextColor);
    TextOutW(dc, kCaptionLeft, 0, caption_.c_str(), static_cast<int>(caption_.size()));
}

} // namespace ui
