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

// Around a window: the frame is the window's rectangle grown by 5 pixels on
// every side, and the ring a 3-pixel band just outside the window.
FramePlacement ObjectFrame(const RECT& window);

// The fixed box of w x h centred on the cursor (the half rounded toward zero).
// The ring is the box's outline inset 2 to 5 pixels; its hole is what a fixed
// region capture copies.
FramePlacement FixedRegionFrame(POINT cursor, int w, int h);

// The smallest box side that leaves a hole inside the ring.
constexpr int kMinFixedRegionSide = 11;

// Places the frame window and sets the ring as its window region.
void ApplyHighlightFrame(HWND frame, const FramePlacement& geometry);

} // namespace capture
