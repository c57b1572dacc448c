// Where the highlight frame stands and which ring of it shows.
#pragma once

#include <windows.h>

namespace capture {

// The frame window's bounds (screen) and the ring that is its visible shape:
// the outer rectangle minus the inner one, both in the frame's own coordinates.
struct FramePlacement {
    RECT bounds;
    RECT ringOuter;
    RECT ringInner;
};

// The width of the ring at 96 DPI; it grows with the display's scale.
constexpr int kFrameLineWidth = 3;

// Around a window: the frame is the window's rectangle grown by 2 pixels
// more than the line width on every side, and the ring a band of the line
// width just outside the window.
FramePlacement ObjectFrame(const RECT& window, int lineWidth = kFrameLineWidth);

// The fixed box of w x h centred on the cursor (the half rounded toward zero).
// The ring is the box's outline inset 2 to 5 pixels; its hole is what a fixed
// region capture copies. A wider line grows outward, by FrameWidening, and
// leaves the hole where it is.
FramePlacement FixedRegionFrame(POINT cursor, int w, int h, int lineWidth = kFrameLineWidth);
constexpr int FrameWidening(int lineWidth) { return lineWidth > kFrameLineWidth ? lineWidth - kFrameLineWidth : 0; }

// The smallest box side that leaves a hole inside the ring.
constexpr int kMinFixedRegionSide = 11;

// Places the frame window and sets the ring as its window region.
void ApplyHighlightFrame(HWND frame, const FramePlacement& geometry);

} // namespace capture
