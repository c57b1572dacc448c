#include "capture/Grab.h"

#include "ui/Cursor.h"
#include "ui/Handles.h"

#include <algorithm>
#include <optional>

namespace capture {

namespace {

// The width of the Fixed Region frame's ring: the hole starts this far inside.
constexpr int kFrameRing = 5;

// BitBlt's raster operation for the grab: CAPTUREBLT makes layered
// (translucent or shaped) windows part of the picture.
constexpr DWORD kGrabRop = SRCCOPY | CAPTUREBLT;

// The display DC, opened once and kept while the monitors keep their
// layout: opening and deleting one at every grab cost a periodic capture
// more than a tenth of what it adds to the grab and the encoding themselves
// (0.7 ms under Wine).
//
// Where a display DC's (0, 0) lies differs between systems: on Windows it is
// the primary monitor's corner, under Wine the virtual screen's. It is found
// at run time from the DC's clip box, which covers the virtual screen. A DC
// whose clip box does not match the virtual screen is not trusted; the
// screen DC of GetDC(nullptr), whose coordinates are screen coordinates by
// definition, serves instead.
class DisplaySource {
public:
    // The DC to read the screen from and the screen point at its (0, 0).
    struct Source {
        HDC dc = nullptr;
        POINT origin{};
    };

    Source For(const RECT& virtualScreen) {
        if (!display_ || !EqualRect(&virtualScreen, &virtualScreen_)) {
            display_ = ui::UniqueDC(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
            virtualScreen_ = virtualScreen;
            RECT clip{};
            trusted_ = display_ && GetClipBox(display_.Get(), &clip) != ERROR &&
                       clip.right - clip.left == virtualScreen.right - virtualScreen.left &&
                       clip.bottom - clip.top == virtualScreen.bottom - virtualScreen.top;
            origin_ = {virtualScreen.left - clip.left, virtualScreen.top - clip.top};
        }
        if (trusted_) return {display_.Get(), origin_};
        return {nullptr, {0, 0}};
    }

private:
    ui::UniqueDC display_;
    RECT virtualScreen_{};
    POINT origin_{};
    bool trusted_ = false;
};

DisplaySource& Display() {
    static DisplaySource display;
    return display;
}

int DisplayDepth(HDC dc) { return GetDeviceCaps(dc, BITSPIXEL) >= 32 ? 32 : 24; }

// Paints black whatever part of the picture no monitor shows: the screen
// has no pixels there, and a display read gives whatever its surface holds.
void BlackOutsideMonitors(ui::Bitmap& bitmap, const RECT& area, const std::vector<ui::Monitor>& monitors) {
    ui::UniqueRegion outside(CreateRectRgn(0, 0, bitmap.Width(), bitmap.Height()));
    for (const ui::Monitor& m : monitors) {
        ui::UniqueRegion shown(CreateRectRgn(m.bounds.left - area.left, m.bounds.top - area.top,
                                             m.bounds.right - area.left, m.bounds.bottom - area.top));
        if (CombineRgn(outside.Get(), outside.Get(), shown.Get(), RGN_DIFF) == NULLREGION) return;
    }
    FillRgn(bitmap.Canvas(), outside.Get(), static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
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

void GrabScreenArea(ui::Bitmap& bitmap, const RECT& area, const std::vector<ui::Monitor>& monitors) {
    const RECT virtualScreen = ui::VirtualScreen(monitors);
    const DisplaySource::Source display = Display().For(virtualScreen);
    // The screen DC is taken and given back around this one grab only.
    std::optional<ui::WindowDC> screenDc;
    if (!display.dc) screenDc.emplace(nullptr);
    HDC screen = display.dc ? display.dc : screenDc->Get();
    const int width = std::max(0, static_cast<int>(area.right - area.left));
    const int height = std::max(0, static_cast<int>(area.bottom - area.top));
    const int depth = DisplayDepth(screen);
    // The picture is a DIB section rather than a device-dependent bitmap:
    // the one transfer below lands straight in memory that the encoders can
    // read without a further copy. A picture that has the size and depth
    // already keeps its section: the transfer covers every pixel, and a new
    // section of a large display costs more than the transfer itself
    // (periodic capture grabs into one picture at every tick).
    if (bitmap.Width() != width || bitmap.Height() != height || bitmap.BitsPerPixel() != depth)
        bitmap.Reset(width, height, depth);
    // Only what lies on the virtual screen is read: a transfer reaching
    // beyond the display's surface fails as a whole on some systems. A
    // transfer that fails (no access to the display) leaves black, as a new
    // section would be, rather than the picture of an earlier grab.
    if (!bitmap.Empty()) {
        RECT shown{};
        IntersectRect(&shown, &area, &virtualScreen);
        if (IsRectEmpty(&shown) || !BitBlt(bitmap.Canvas(), shown.left - area.left, shown.top - area.top,
                                           shown.right - shown.left, shown.bottom - shown.top, screen,
                                           shown.left - display.origin.x, shown.top - display.origin.y, kGrabRop))
            PatBlt(bitmap.Canvas(), 0, 0, width, height, BLACKNESS);
        else
            BlackOutsideMonitors(bitmap, area, monitors);
    }
    GdiFlush();
}

void GrabScreenArea(ui::Bitmap& bitmap, const RECT& area) { GrabScreenArea(bitmap, area, ui::Monitors()); }

void GrabScreen(ui::Bitmap& into) {
    const std::vector<ui::Monitor> monitors = ui::Monitors();
    GrabScreenArea(into, ui::PrimaryMonitor(monitors).bounds, monitors);
}

ui::Bitmap GrabScreen() {
    ui::Bitmap screen;
    GrabScreen(screen);
    return screen;
}

RECT FullScreenArea(settings::ScreenArea area, const std::vector<ui::Monitor>& monitors) {
    switch (area) {
    case settings::ScreenArea::MonitorUnderMouse:
        return ui::MonitorAt(monitors, ui::CursorPosition()).bounds;
    case settings::ScreenArea::AllMonitors:
        return ui::VirtualScreen(monitors);
    case settings::ScreenArea::PrimaryMonitor:
        break;
    }
    return ui::PrimaryMonitor(monitors).bounds;
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

void DrawScreenCursor(ui::Bitmap& bitmap, const ScreenCursor& cursor, POINT origin) {
    if (!cursor.cursor || bitmap.Empty()) return;
    // Natural size (no stretching); the cursor is borrowed, not destroyed.
    DrawIconEx(bitmap.Canvas(), cursor.position.x - cursor.hotSpot.x - origin.x,
               cursor.position.y - cursor.hotSpot.y - origin.y, cursor.cursor, 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
}

void DrawCursor(ui::Bitmap& bitmap, POINT origin) { DrawScreenCursor(bitmap, FindScreenCursor(), origin); }

RECT WindowArea(HWND window) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return {};
    return r;
}

RECT ActiveWindowArea() { return WindowArea(GetForegroundWindow()); }

RECT ObjectArea() { return WindowArea(WindowFromPoint(ui::CursorPosition())); }

RECT FixedRegionHole(POINT frameTopLeft, int width, int height) {
    const int holeWidth = width - 2 * kFrameRing;
    const int holeHeight = height - 2 * kFrameRing;
    if (holeWidth <= 0 || holeHeight <= 0) return {};
    const int left = frameTopLeft.x + kFrameRing;
    const int top = frameTopLeft.y + kFrameRing;
    return {left, top, left + holeWidth, top + holeHeight};
}

void EnlargeFixedRegion(const ui::Bitmap& hole, ui::Bitmap& destination, int width, int height) {
    destination.Reset(width, height, hole.BitsPerPixel());
    // Without a hole there is nothing to enlarge: the picture stays black.
    if (hole.Empty() || destination.Empty()) return;
    destination.CopyRect({0, 0, width, height}, hole, {0, 0, hole.Width(), hole.Height()});
}

} // namespace capture
