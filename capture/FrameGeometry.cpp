#include "capture/FrameGeometry.h"

#include "ui/Handles.h"

namespace capture {

FramePlacement ObjectFrame(const RECT& r) {
    const int w = (r.right - r.left) + 10, h = (r.bottom - r.top) + 10;
    return {{r.left - 5, r.top - 5, r.left - 5 + w, r.top - 5 + h}, {2, 2, w - 2, h - 2}, {5, 5, w - 5, h - 5}};
}

FramePlacement FixedRegionFrame(POINT cursor, int w, int h) {
    // C++ division rounds toward zero, as the box placement wants.
    const int left = cursor.x - w / 2, top = cursor.y - h / 2;
    return {{left, top, left + w + 10, top + h + 10}, {2, 2, w - 2, h - 2}, {5, 5, w - 5, h - 5}};
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
