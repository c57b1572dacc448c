// Screen grabbing. Every capture starts with one picture of the whole
// primary display (GetFullScreenBmp), optionally with the cursor painted in
// (DrawCursorToBmp); the other methods cut their part out of that one picture
// with rectangle copies, never by a second read of the screen. None of these
// routines shows anything, keeps any state or reports an error.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

namespace capture {

// The picture becomes a grab of the whole primary display at its physical
// resolution, in the display's own depth (32 bits per pixel on a true-colour
// display, 24 otherwise): pixel (0, 0) is screen point (0, 0).
void GetFullScreenBmp(ui::Bitmap& bitmap);

// Draws the current mouse cursor into a full-screen picture at its natural
// size, its hot spot on the cursor position. Draws nothing when no cursor is
// shown. The caller decides whether to call it (IncludeCursor).
void DrawCursorToBmp(ui::Bitmap& bitmap);

// DrawCursorToBmp in two halves, so that the cursor can be looked up on
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

// The destination becomes the screen rectangle of a window, frame included,
// copied out of the full-screen source; what lies outside the screen is black.
void GetWindowBmp(const ui::Bitmap& source, ui::Bitmap& destination, HWND window);

// GetWindowBmp of the foreground window.
void GetActiveWindowBmp(const ui::Bitmap& source, ui::Bitmap& destination);

// GetWindowBmp of the window under the mouse (the innermost visible, enabled
// window there, so possibly a single control).
void GetObjectBmp(const ui::Bitmap& source, ui::Bitmap& destination);

// The destination becomes width x height, showing the (width - 10) x
// (height - 10) hole inside the Fixed Region frame whose top-left screen
// position is frameTopLeft, enlarged by plain pixel repetition. A box of 10
// pixels or less in either direction has no hole: the picture is then black
// (or empty for a size of zero or less), and nothing is read from the source.
void GetFixRegionBmp(const ui::Bitmap& source, ui::Bitmap& destination, int width, int height, POINT frameTopLeft);

} // namespace capture
