// Screen grabbing. Every capture reads the screen once, into one picture of
// the screen rectangle it takes: a monitor, every monitor, a window or the
// inside of the Fixed Region frame, optionally with the cursor painted in.
// Screen rectangles are in screen coordinates, whose (0, 0) is the primary
// monitor's top-left corner; other monitors may lie at negative coordinates.
// None of these routines shows anything, keeps any state or reports an error.
#pragma once

#include "settings/Options.h"
#include "ui/Bitmap.h"
#include "ui/Monitors.h"

#include <windows.h>

#include <vector>

namespace capture {

// The picture becomes a grab of a screen rectangle at its physical
// resolution, in the display's own depth (32 bits per pixel on a true-colour
// display, 24 otherwise): pixel (0, 0) is the rectangle's top-left corner.
// What no monitor shows (beside a monitor of another size, or beyond the
// screen's edges) is black. A picture of that size and depth already keeps
// its memory. The monitors are those of the system now unless given.
void GrabScreenArea(ui::Bitmap& bitmap, const RECT& area);
void GrabScreenArea(ui::Bitmap& bitmap, const RECT& area, const std::vector<ui::Monitor>& monitors);

// GrabScreenArea of the primary monitor: pixel (0, 0) is screen point (0, 0).
ui::Bitmap GrabScreen();
void GrabScreen(ui::Bitmap& into);

// The screen rectangle that a Full Screen capture takes: the primary
// monitor, the monitor under the mouse, or the whole virtual screen.
RECT FullScreenArea(settings::ScreenArea area, const std::vector<ui::Monitor>& monitors);

// Draws the current mouse cursor into a picture of the screen whose pixel
// (0, 0) shows screen point origin, at its natural size, its hot spot on the
// cursor position. Draws nothing when no cursor is shown. The caller decides
// whether to call it (IncludeCursor).
void DrawCursor(ui::Bitmap& bitmap, POINT origin = {0, 0});

// DrawCursor in two halves, so that the cursor can be looked up on
// another thread while the screen is read: the cursor on the screen now
// (no cursor when none is shown), and its drawing.
struct ScreenCursor {
    HCURSOR cursor = nullptr; // borrowed from the system
    POINT position{};
    POINT hotSpot{};
};
ScreenCursor FindScreenCursor();
void DrawScreenCursor(ui::Bitmap& bitmap, const ScreenCursor& cursor, POINT origin = {0, 0});

// The cursor that the window under the mouse shows, or null when it shows
// none. The handle is borrowed from the system and must not be destroyed.
HCURSOR GetCursorIcon();

// The hot spot of a cursor, in pixels from its image's top-left corner.
POINT GetCursorHotSpot(HCURSOR cursor);

// The screen rectangle of a window, frame included; empty for no window.
RECT WindowArea(HWND window);
// WindowArea of the foreground window.
RECT ActiveWindowArea();
// WindowArea of the window under the mouse (the innermost visible, enabled
// window there, so possibly a single control).
RECT ObjectArea();

// The hole inside the Fixed Region frame of a width x height box whose
// top-left screen position is frameTopLeft: (width - 10) x (height - 10)
// pixels, 5 in from the frame's corner. Empty for a box of 10 pixels or less
// in either direction.
RECT FixedRegionHole(POINT frameTopLeft, int width, int height);

// The destination becomes width x height, showing the grab of the hole
// enlarged by plain pixel repetition; black when the hole is empty (or empty
// for a size of zero or less).
void EnlargeFixedRegion(const ui::Bitmap& hole, ui::Bitmap& destination, int width, int height);

} // namespace capture
