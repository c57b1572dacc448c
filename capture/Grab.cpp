#include "capture/Grab.h"

#include "ui/Cursor.h"
#include "ui/Handles.h"

namespace capture {

namespace {

// The width of the Fixed Region frame's ring: the hole starts this far inside.
constexpr int kFrameRing = 5;

// BitBlt's raster operation for the grab: CAPTUREBLT makes layered
// (translucent or shaped) windows part of the picture.
constexpr DWORD kGrabRop = SRCCOPY | CAPTUREBLT;

void CopyScreenRect(const ui::Bitmap& source, ui::Bitmap& destination, const RECT& r) {
    const int w = r.right - r.left;
    const int h = r.bottom - r.top;
    destination.Reset(w, h, source.BitsPerPixel());
    destination.CopyRect({0, 0, w, h}, source, r);
}

// The DC of the whole display, opened once for the program's life: opening
// and deleting one at every grab cost a periodic capture more than a tenth
// of what it adds to the grab and the encoding themselves (0.7 ms under
// Wine). A display DC follows the display's mode, so its size is asked anew
// at every grab.
HDC DisplayDC() {
    static const ui::UniqueDC display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    return display.Get();
}

// The cursor that the window at a screen point shows (GetCursorIcon for a
// position already read).
HCURSOR CursorOfWindowAt(POINT at) {
    const HWND window = WindowFromPoint(at);
    const DWORD target = window ? GetWindowThreadProcessId(window, nullptr) : 0;
    const DWORD self = GetCurrentThreadId();
    // GetCursor answers for the calling thread's input state; attached to the
    // thread of the window under the mouse, it answers for that window. A
    // thread cannot attach to itself, and needs not.
    const bool attached = target != 0 && target != self && AttachThreadInput(self, target, TRUE);
    const HCURSOR cursor = GetCursor();
    if (attached) AttachThreadInput(self, target, FALSE);
    return cursor;
}

} // namespace

ui::Bitmap GrabScreen() {
    ui::Bitmap screen;
    GrabScreen(screen);
    return screen;
}

void GrabScreen(ui::Bitmap& bitmap) {
    HDC display = DisplayDC();
    // HORZRES and VERTRES of the display DC are the primary display's size in
    // physical pixels, since the program is DPI-aware.
    const int width = GetDeviceCaps(display, HORZRES);
    const int height = GetDeviceCaps(display, VERTRES);
    const int depth = GetDeviceCaps(display, BITSPIXEL) >= 32 ? 32 : 24;
    // The picture is a DIB section of the display's size rather than a
    // device-dependent bitmap: the one display-wide transfer below lands
    // straight in memory that the encoders can read without a further copy.
    // A picture that has the size and depth already keeps its section: the
    // transfer covers every pixel, and a new section of a large display costs
    // more than the transfer itself (periodic capture grabs into one picture
    // at every tick).
    if (bitmap.Width() != width || bitmap.Height() != height || bitmap.BitsPerPixel() != depth)
        bitmap.Reset(width, height, depth);
    // A transfer that fails (no access to the display) leaves black, as a
    // new section would be, rather than the picture of an earlier grab.
    if (!BitBlt(bitmap.Canvas(), 0, 0, bitmap.Width(), bitmap.Height(), display, 0, 0, kGrabRop))
        PatBlt(bitmap.Canvas(), 0, 0, bitmap.Width(), bitmap.Height(), BLACKNESS);
    GdiFlush();
}

HCURSOR GetCursorIcon() { return CursorOfWindowAt(ui::CursorPosition()); }

POINT GetCursorHotSpot(HCURSOR cursor) {
    ICONINFO info{};
    if (!cursor || !GetIconInfo(cursor, &info)) return {0, 0};
    // GetIconInfo hands out copies of the mask and colour bitmaps: free them.
    ui::UniqueBitmap mask(info.hbmMask);
    ui::UniqueBitmap colour(info.hbmColor);
    return {static_cast<LONG>(info.xHotspot), static_cast<LONG>(info.yHotspot)};
}

ScreenCursor FindScreenCursor() {
    // A cursor hidden with ShowCursor keeps its handle, so GetCursor alone
    // cannot tell: the global cursor state says whether one is on the screen.
    CURSORINFO state{sizeof(state)};
    const bool known = GetCursorInfo(&state) != FALSE;
    if (known && !(state.flags & CURSOR_SHOWING)) return {};
    // One reading of the position serves both finding the cursor and placing
    // it: every reading asks the window system (a third of a millisecond
    // under Wine), and one reading keeps the two in step.
    const POINT at = known ? state.ptScreenPos : ui::CursorPosition();
    HCURSOR cursor = CursorOfWindowAt(at);
    // Some systems do not share the cursor through an attached input state
    // (Wine answers null there); the global cursor is then the one on screen.
    if (!cursor && (state.flags & CURSOR_SHOWING)) cursor = state.hCursor;
    if (!cursor) return {};
    return {cursor, at, GetCursorHotSpot(cursor)};
}

void DrawScreenCursor(ui::Bitmap& bitmap, const ScreenCursor& cursor) {
    if (!cursor.cursor || bitmap.Empty()) return;
    // Natural size (no stretching); the cursor is borrowed, not destroyed.
    DrawIconEx(bitmap.Canvas(), cursor.position.x - cursor.hotSpot.x, cursor.position.y - cursor.hotSpot.y,
               cursor.cursor, 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
}

void DrawCursor(ui::Bitmap& bitmap) { DrawScreenCursor(bitmap, FindScreenCursor()); }

void CutWindow(const ui::Bitmap& screen, HWND window, ui::Bitmap& into) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) r = {};
    CopyScreenRect(screen, into, r);
}

ui::Bitmap CutWindow(const ui::Bitmap& screen, HWND window) {
    ui::Bitmap picture;
    CutWindow(screen, window, picture);
    return picture;
}

ui::Bitmap CutActiveWindow(const ui::Bitmap& screen) { return CutWindow(screen, GetForegroundWindow()); }

ui::Bitmap CutObject(const ui::Bitmap& screen) { return CutWindow(screen, WindowFromPoint(ui::CursorPosition())); }

ui::Bitmap CutFixedRegion(const ui::Bitmap& source, int width, int height, POINT frameTopLeft) {
    ui::Bitmap destination(width, height, source.BitsPerPixel());
    const int holeWidth = width - 2 * kFrameRing;
    const int holeHeight = height - 2 * kFrameRing;
    // Without a hole there is nothing to enlarge: a reversed source rectangle
    // would make StretchBlt mirror whatever lies around the frame.
    if (holeWidth <= 0 || holeHeight <= 0 || destination.Empty()) return destination;
    const int left = frameTopLeft.x + kFrameRing;
    const int top = frameTopLeft.y + kFrameRing;
    destination.CopyRect({0, 0, width, height}, source, {left, top, left + holeWidth, top + holeHeight});
    return destination;
}

} // namespace capture
