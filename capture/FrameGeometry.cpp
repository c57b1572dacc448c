#include "capture/FrameGeometry.h"

#include "ui/Handles.h"

namespace capture {

FramePlacement ObjectFrame(const RECT& r, int lineWidth) {
    const int margin = 2 + lineWidth;
    const int w = (r.right - r.left) + 2 * margin, h = (r.bottom - r.top) + 2 * margin;
    return {{r.left - margin, r.top - margin, r.left - margin + w, r.top - margin + h},
            {2, 2, w - 2, h - 2},
            {margin, margin, w - margin, h - margin}};
}

FramePlacement FixedRegionFrame(POINT cursor, int w, int h, int lineWidth) {
    // C++ division rounds toward zero, as the box placement wants.
    const int extra = FrameWidening(lineWidth);
    const int left = cursor.x - w / 2 - extra, top = cursor.y - h / 2 - extra;
    return {{left, top, left + w + 10 + 2 * extra, top + h + 10 + 2 * extra},
            {2, 2, w - 2 + 2 * extra, h - 2 + 2 * extra},
            {5 + extra, 5 + extra, w - 5 + extra, h - 5 + extra}};
}

void ApplyHighlightFrame(HWND frame, const FramePlacement& g) {
    SetWindowPos(frame, HWND_TOPMOST, g.bounds.left, g.bounds.top, g.bounds.right - g.bounds.left,
                 g.bounds.bottom - g.bounds.top, SWP_NOACTIVATE);
    ui::UniqueRegion inner(CreateRectRgn(g.ringInner.left, g.ringInner.top, g.ringInner.right, g.ringInner.bottom));
    HRGN ring = CreateRectRgn(g.ringOuter.left, g.ringOuter.top, g.ringOuter.right, g.ringOuter.bottom);
    CombineRgn(ring, ring, inner.Get(), RGN_XOR);
    // The window owns the region from here on.
    if (!SetWindowRgn(frame, ring, TRUE)) DeleteObject(ring);
}

} // namespace capture
