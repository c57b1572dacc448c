// Screen grabbing. Every capture starts with one picture of the whole
// primary display (GrabScreen), optionally with the cursor painted in
// (DrawCursor); the other methods cut their part out of that one picture
// with rectangle copies, never by a second read of the screen. None of these
// routines shows anything, keeps any state or reports an error.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

namespace capture {

// A grab of the whole primary display at its physical resolution, in the
// display's own depth (32 bits per pixel on a true-colour display, 24
// otherwise): pixel (0, 0) is screen point (0, 0).
ui::Bitmap GrabScreen();
// The same into a picture already held, which keeps its memory when it has
// the display's size and depth: a new picture of a 4K display costs more
// than the grab itself, and periodic capture grabs at every tick.
void GrabScreen(ui::Bitmap& into);

// Draws the current mouse cursor into a full-screen picture at its natural
// size, its hot spot on the cursor position. Draws nothing when no cursor is
// shown. The caller decides whether to call it (IncludeCursor).
void DrawCursor(ui::Bitmap& bitmap);

// DrawCursor in two halves, so that the cursor can be looked up on
// another thread while the screen is read: the cursor on the screen now
// (no cursor when none is shown), and its drawing.
struct ScreenCursor {
    HCURSOR cursor = nullptr; // borrowed from the system
    POINT position{};
    POINT hotSpot{};
};
ScreenCursor FindScreenCursor();
void DrawScreenCursor(ui::Bitmap& bitmap, const ScreenCursor& cursor);

// The cursor that the window under the mouse shows, or null when it shows
// none. The handle is borrowed from the system and must not be destroyed.
HCURSOR GetCursorIcon();

// The hot spot of a cursor, in pixels from its image's top-left corner.
POINT GetCursorHotSpot(HCURSOR cursor);

// The screen rectangle of a window, frame included, copied out of the
// full-screen picture; what lies outside the screen is black. The second
// form reuses a picture already held.
ui::Bitmap CutWindow(const ui::Bitmap& screen, HWND window);
void CutWindow(const ui::Bitmap& screen, HWND window, ui::Bitmap& into);

// CutWindow of the foreground window.
ui::Bitmap CutActiveWindow(const ui::Bitmap& screen);

// CutWindow of the window under the mouse (the innermost visible, enabled
// window there, so possibly a single control).
ui::Bitmap CutObject(const ui::Bitmap& screen);

// A width x height picture of the (width - 10) x (height - 10) hole inside
// the Fixed Region frame whose top-left screen position is frameTopLeft,
// enlarged by plain pixel repetition. A box of 10 pixels or less in either
// direction has no hole: the picture is then black (or empty for a size of
// zero or less), and nothing is read from the screen picture.
ui::Bitmap CutFixedRegion(const ui::Bitmap& screen, int width, int height, POINT frameTopLeft);

} // namespace capture
