// Screen grabbing on the real Wine desktop: windows of this test
// paint known pictures, the screen is grabbed, and the crops are checked
// against the windows' rectangles and contents.
#include "capture/Grab.h"
#include "tests/support/Input.h"
#include "tests/support/Windows.h"
#include "tests/support/Wait.h"
#include "ui/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <array>
#include <functional>
#include <set>
#include <vector>

using support::SameRect;

namespace {

// Every pixel of a test window tells where it is: colour = marker | x << 11 | y
// in the window's client coordinates (the marker keeps it off black).
constexpr std::uint32_t kMarker = 0x800000;
std::uint32_t CoordinateColour(int x, int y) {
    return kMarker | (static_cast<std::uint32_t>(x & 0x3FF) << 11) | static_cast<std::uint32_t>(y & 0x7FF);
}
POINT CoordinatesOf(std::uint32_t colour) {
    return {static_cast<LONG>((colour >> 11) & 0x3FF), static_cast<LONG>(colour & 0x7FF)};
}

// A real window that paints a picture and shows a cursor of our choice.
class TestWindow {
public:
    struct Args {
        DWORD style = WS_POPUP;
        RECT bounds{};
        HWND parent = nullptr;
        HCURSOR cursor = nullptr;
        std::function<std::uint32_t(int, int)> colour = CoordinateColour;
    };

    explicit TestWindow(const Args& args) : cursor_(args.cursor) {
        RegisterClassOnce();
        window_.Reset(CreateWindowExW(0, kClass, L"Snapora grab test", args.style, args.bounds.left, args.bounds.top,
                                      args.bounds.right - args.bounds.left, args.bounds.bottom - args.bounds.top,
                                      args.parent, nullptr, GetModuleHandleW(nullptr), this));
        RECT client{};
        GetClientRect(window_.Get(), &client);
        picture_.Reset(client.right, client.bottom, 24);
        for (int y = 0; y < client.bottom; ++y)
            for (int x = 0; x < client.right; ++x)
                picture_.SetPixel(x, y, args.colour(x, y));
    }

    HWND Handle() const { return window_.Get(); }
    const ui::Bitmap& Picture() const { return picture_; }
    RECT WindowRect() const {
        RECT r = support::WindowRectOf(window_.Get());
        return r;
    }
    POINT ClientOrigin() const { return support::ScreenPoint(window_.Get(), {0, 0}); }

private:
    static constexpr const wchar_t* kClass = L"SnaporaGrabTestWindow";

    static void RegisterClassOnce() {
        static const ATOM atom = [] {
            WNDCLASSEXW wc{sizeof(wc)};
            wc.lpfnWndProc = Proc;
            wc.hInstance = GetModuleHandleW(nullptr);
            wc.lpszClassName = kClass;
            return RegisterClassExW(&wc);
        }();
        ASSERT_NE(atom, 0);
    }

    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
        if (message == WM_NCCREATE)
            SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        switch (message) {
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (self) self->picture_.Draw(dc, 0, 0);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_SETCURSOR:
            if (self && LOWORD(lParam) == HTCLIENT) {
                SetCursor(self->cursor_);
                return TRUE;
            }
            break;
        case WM_NCDESTROY:
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        }
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    HCURSOR cursor_;
    ui::Bitmap picture_;
    ui::UniqueWindow window_;
};

// Whether the window's picture is on the screen, wherever the screen shows it.
bool PictureOnScreen(const ui::Bitmap& screen, const TestWindow& window) {
    const POINT origin = window.ClientOrigin();
    const ui::Bitmap& picture = window.Picture();
    for (int y = 0; y < picture.Height(); y += 7)
        for (int x = 0; x < picture.Width(); x += 7) {
            const int sx = origin.x + x, sy = origin.y + y;
            if (sx < 0 || sy < 0 || sx >= screen.Width() || sy >= screen.Height()) continue;
            if (screen.Pixel(sx, sy) != picture.Pixel(x, y)) return false;
        }
    return true;
}

// Shows the window in front, makes it the foreground window and waits until
// its picture is on the screen; returns that grab.
ui::Bitmap ShowAndGrab(const TestWindow& window) {
    ShowWindow(window.Handle(), SW_SHOW);
    SetForegroundWindow(window.Handle());
    UpdateWindow(window.Handle());
    ui::Bitmap screen;
    EXPECT_TRUE(support::WaitUntil([&] {
        capture::GrabScreen(screen);
        return PictureOnScreen(screen, window);
    })) << "the test window never showed its picture";
    return screen;
}

// Expects the crop to be the screen rectangle r of the grab, with black where
// r lies outside the screen.
void ExpectCropOf(const ui::Bitmap& screen, const ui::Bitmap& crop, const RECT& r) {
    ASSERT_EQ(crop.Width(), r.right - r.left);
    ASSERT_EQ(crop.Height(), r.bottom - r.top);
    int differing = 0;
    for (int y = 0; y < crop.Height(); ++y)
        for (int x = 0; x < crop.Width(); ++x) {
            const int sx = r.left + x, sy = r.top + y;
            const bool inside = sx >= 0 && sy >= 0 && sx < screen.Width() && sy < screen.Height();
            const std::uint32_t expected = inside ? screen.Pixel(sx, sy) : 0;
            if (crop.Pixel(x, y) != expected && ++differing <= 3)
                ADD_FAILURE() << "crop pixel (" << x << ", " << y << ") " << std::hex << crop.Pixel(x, y)
                              << " instead of " << expected;
        }
    EXPECT_EQ(differing, 0);
}

// The window's own picture sits in the crop at the client area's offset.
void ExpectClientInCrop(const ui::Bitmap& crop, const TestWindow& window) {
    const RECT r = window.WindowRect();
    const POINT origin = window.ClientOrigin();
    const int dx = origin.x - r.left, dy = origin.y - r.top;
    const ui::Bitmap& picture = window.Picture();
    for (int y : {0, picture.Height() / 2, picture.Height() - 1})
        for (int x : {0, picture.Width() / 2, picture.Width() - 1}) {
            const int sx = origin.x + x, sy = origin.y + y;
            if (sx < 0 || sy < 0 || sx >= GetSystemMetrics(SM_CXSCREEN) || sy >= GetSystemMetrics(SM_CYSCREEN))
                continue;
            EXPECT_EQ(crop.Pixel(dx + x, dy + y), picture.Pixel(x, y)) << "client pixel (" << x << ", " << y << ")";
        }
}

// Moves the mouse and waits until it has rested at the new position: under
// Wine a late report of an earlier position can still put the cursor back.
void MoveCursorTo(int x, int y) {
    EXPECT_TRUE(support::RestMouse({x, y})) << "the cursor did not stay at " << x << ", " << y;
}

struct CursorShown {
    // ShowCursor keeps a count; the cursor shows while it is zero or more.
    static void Hide() {
        while (ShowCursor(FALSE) >= 0) {
        }
    }
    static void Show() {
        while (ShowCursor(TRUE) < 0) {
        }
    }
};

} // namespace

TEST(Grab, FullScreenHasTheDisplaysSizeAndShowsTheScreenAtItsOwnCoordinates) {
    TestWindow window({.bounds = {200, 150, 520, 390}});
    const ui::Bitmap screen = ShowAndGrab(window);
    ui::UniqueDC display(CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    EXPECT_EQ(screen.Width(), GetDeviceCaps(display.Get(), HORZRES));
    EXPECT_EQ(screen.Height(), GetDeviceCaps(display.Get(), VERTRES));
    EXPECT_EQ(screen.Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(screen.Height(), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(screen.Pixel(200, 150), CoordinateColour(0, 0));
    EXPECT_EQ(screen.Pixel(519, 389), CoordinateColour(319, 239));
    EXPECT_EQ(screen.Pixel(300, 200), CoordinateColour(100, 50));
}

TEST(Grab, ActiveWindowIsTheForegroundWindowsRectangleFrameIncluded) {
    TestWindow window({.style = WS_OVERLAPPEDWINDOW, .bounds = {120, 100, 520, 400}});
    const ui::Bitmap screen = ShowAndGrab(window);
    ASSERT_EQ(GetForegroundWindow(), window.Handle());
    ui::Bitmap crop;
    capture::GrabScreenArea(crop, capture::ActiveWindowArea());
    const RECT r = window.WindowRect();
    EXPECT_EQ(crop.Width(), 400);
    EXPECT_EQ(crop.Height(), 300);
    ExpectCropOf(screen, crop, r);
    ExpectClientInCrop(crop, window);
    EXPECT_NE(window.ClientOrigin().y, r.top) << "the window has a title bar, so the frame is part of the picture";
}

TEST(Grab, ObjectIsTheInnermostWindowUnderTheMouse) {
    TestWindow parent({.bounds = {300, 300, 700, 600}, .colour = [](int, int) { return 0x20A040u; }});
    TestWindow child({.style = WS_CHILD, .bounds = {50, 40, 210, 100}, .parent = parent.Handle()});
    ShowAndGrab(parent);
    const ui::Bitmap screen = ShowAndGrab(child);
    MoveCursorTo(300 + 60, 300 + 50);
    ui::Bitmap crop;
    capture::GrabScreenArea(crop, capture::ObjectArea());
    EXPECT_EQ(crop.Width(), 160);
    EXPECT_EQ(crop.Height(), 60);
    ExpectCropOf(screen, crop, child.WindowRect());
    EXPECT_EQ(crop.Pixel(0, 0), CoordinateColour(0, 0));
    EXPECT_EQ(crop.Pixel(159, 59), CoordinateColour(159, 59));

    MoveCursorTo(300 + 300, 300 + 200);
    capture::GrabScreenArea(crop, capture::ObjectArea());
    ExpectCropOf(screen, crop, parent.WindowRect());
}

TEST(Grab, AWindowReachingOffTheScreenGivesItsFullSizeWithBlackOutside) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    for (const RECT bounds : {RECT{-60, -50, 340, 250},
                              RECT{screenWidth - 150, screenHeight - 100, screenWidth + 250, screenHeight + 200}}) {
        SCOPED_TRACE(bounds.left);
        TestWindow window({.style = WS_OVERLAPPEDWINDOW, .bounds = bounds});
        const ui::Bitmap screen = ShowAndGrab(window);
        ASSERT_EQ(GetForegroundWindow(), window.Handle());
        const RECT r = window.WindowRect();
        ASSERT_TRUE(r.left < 0 || r.right > screenWidth) << "the window manager kept the window off the edge";
        ui::Bitmap crop;
        capture::GrabScreenArea(crop, capture::ActiveWindowArea());
        EXPECT_EQ(crop.Width(), 400);
        EXPECT_EQ(crop.Height(), 300);
        ExpectCropOf(screen, crop, r);
        ExpectClientInCrop(crop, window);
    }
}

TEST(Grab, FixedRegionEnlargesTheHoleInsideTheFrameByPixelRepetition) {
    TestWindow window({.bounds = {100, 100, 600, 500}});
    const ui::Bitmap screen = ShowAndGrab(window);
    // The frame's top-left at (140, 130) puts the hole at client (45, 35).
    const RECT hole = capture::FixedRegionHole({140, 130}, 320, 240);
    EXPECT_TRUE(EqualRect(&hole, std::array{RECT{145, 135, 455, 365}}.data()));
    ui::Bitmap inside, crop;
    capture::GrabScreenArea(inside, hole);
    capture::EnlargeFixedRegion(inside, crop, 320, 240);
    ASSERT_EQ(crop.Width(), 320);
    ASSERT_EQ(crop.Height(), 240);

    // Each picture column shows one hole column, in order, every one of the
    // 310 at least once and none more than twice; the same for rows.
    std::vector<int> columns, rows;
    for (int x = 0; x < 320; ++x)
        columns.push_back(CoordinatesOf(crop.Pixel(x, 0)).x - 45);
    for (int y = 0; y < 240; ++y)
        rows.push_back(CoordinatesOf(crop.Pixel(0, y)).y - 35);
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x)
            ASSERT_EQ(crop.Pixel(x, y), CoordinateColour(columns[x] + 45, rows[y] + 35)) << x << ", " << y;
    auto expectRepetition = [](const std::vector<int>& used, int holeSize) {
        EXPECT_EQ(used.front(), 0);
        EXPECT_EQ(used.back(), holeSize - 1);
        for (size_t i = 1; i < used.size(); ++i)
            EXPECT_TRUE(used[i] == used[i - 1] || used[i] == used[i - 1] + 1) << i;
        EXPECT_EQ(std::set<int>(used.begin(), used.end()).size(), static_cast<size_t>(holeSize));
    };
    expectRepetition(columns, 310);
    expectRepetition(rows, 230);
}

TEST(Grab, FixedRegionBoxesWithoutAHoleAreBlackAndATinyHoleFillsTheBox) {
    ui::Bitmap crop;
    for (const SIZE box : {SIZE{0, 0}, SIZE{10, 10}, SIZE{5, 40}, SIZE{40, 10}, SIZE{-3, 20}}) {
        const RECT hole = capture::FixedRegionHole({20, 10}, box.cx, box.cy);
        EXPECT_TRUE(IsRectEmpty(&hole)) << box.cx << "x" << box.cy;
        ui::Bitmap inside;
        capture::GrabScreenArea(inside, hole);
        EXPECT_TRUE(inside.Empty()) << "nothing read for an empty hole";
        capture::EnlargeFixedRegion(inside, crop, box.cx, box.cy);
        EXPECT_EQ(crop.Width(), std::max<int>(0, box.cx > 0 && box.cy > 0 ? box.cx : 0)) << box.cx << "x" << box.cy;
        for (int y = 0; y < crop.Height(); ++y)
            for (int x = 0; x < crop.Width(); ++x)
                ASSERT_EQ(crop.Pixel(x, y), 0u) << "no hole, nothing shown";
    }
    // An 11 x 11 box has a hole of one pixel, shown 11 times in each direction.
    const RECT hole = capture::FixedRegionHole({20, 10}, 11, 11);
    EXPECT_TRUE(EqualRect(&hole, std::array{RECT{25, 15, 26, 16}}.data()));
    ui::Bitmap pixel(1, 1);
    pixel.SetPixel(0, 0, 0x123456);
    capture::EnlargeFixedRegion(pixel, crop, 11, 11);
    EXPECT_EQ(crop.Pixel(0, 0), 0x123456u);
    EXPECT_EQ(crop.Pixel(10, 10), 0x123456u);
}

TEST(Grab, AnAreaAcrossTheScreensEdgeIsBlackWhereNoMonitorShowsAndReusesAPictureOfItsSize) {
    TestWindow window({.bounds = {0, 0, 300, 200}});
    ShowAndGrab(window);
    ui::Bitmap grab;
    capture::GrabScreenArea(grab, {-40, -30, 60, 70});
    ASSERT_EQ(grab.Width(), 100);
    ASSERT_EQ(grab.Height(), 100);
    EXPECT_EQ(grab.Pixel(0, 0), 0u);
    EXPECT_EQ(grab.Pixel(39, 99), 0u);
    EXPECT_EQ(grab.Pixel(99, 29), 0u);
    EXPECT_EQ(grab.Pixel(40, 30), CoordinateColour(0, 0));
    EXPECT_EQ(grab.Pixel(99, 99), CoordinateColour(59, 69));
    // A grab of the same size writes into the picture it was given.
    const HBITMAP section = grab.Handle();
    capture::GrabScreenArea(grab, {10, 20, 110, 120});
    EXPECT_EQ(grab.Handle(), section);
    EXPECT_EQ(grab.Pixel(0, 0), CoordinateColour(10, 20));
}

TEST(Grab, FullScreenTakesThePrimaryTheMonitorUnderTheMouseOrTheVirtualScreen) {
    // The primary at (0, 0), a second monitor to its left and a little lower.
    const std::vector<ui::Monitor> monitors{{{0, 0, 1280, 1024}, {0, 0, 1280, 1004}, true},
                                            {{-1024, 100, 0, 868}, {-1024, 100, 0, 868}, false}};
    EXPECT_TRUE(SameRect(capture::FullScreenArea(settings::ScreenArea::PrimaryMonitor, monitors), {0, 0, 1280, 1024}));
    EXPECT_TRUE(SameRect(capture::FullScreenArea(settings::ScreenArea::AllMonitors, monitors), {-1024, 0, 1280, 1024}));
    // The mouse is on the primary monitor of this desktop.
    MoveCursorTo(700, 500);
    EXPECT_TRUE(
        SameRect(capture::FullScreenArea(settings::ScreenArea::MonitorUnderMouse, monitors), {0, 0, 1280, 1024}));
}

TEST(Grab, TheCursorIsDrawnAtItsNaturalSizeWithItsHotSpotOnTheCursorPosition) {
    const HCURSOR ibeam = LoadCursorW(nullptr, IDC_IBEAM);
    TestWindow window({.bounds = {400, 300, 700, 500}, .cursor = ibeam, .colour = [](int, int) { return 0xFFFFFFu; }});
    const ui::Bitmap screen = ShowAndGrab(window);
    CursorShown::Show();
    const POINT at{550, 400};
    MoveCursorTo(at.x, at.y);
    // The window's WM_SETCURSOR sets the I-beam, as it does when the mouse moves.
    SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    ASSERT_EQ(capture::GetCursorIcon(), ibeam);

    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(ibeam, &info));
    ui::UniqueBitmap mask(info.hbmMask), colour(info.hbmColor);
    const POINT hotSpot = capture::GetCursorHotSpot(ibeam);
    EXPECT_EQ(hotSpot.x, static_cast<LONG>(info.xHotspot));
    EXPECT_EQ(hotSpot.y, static_cast<LONG>(info.yHotspot));

    // Where the I-beam's ink lies in its own image, drawn on white at (0, 0).
    ui::Bitmap alone(64, 64);
    PatBlt(alone.Canvas(), 0, 0, 64, 64, WHITENESS);
    DrawIconEx(alone.Canvas(), 0, 0, ibeam, 0, 0, 0, nullptr, DI_NORMAL);
    GdiFlush();
    RECT ink{64, 64, -1, -1};
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            if (alone.Pixel(x, y) != 0xFFFFFF)
                ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y), std::max<LONG>(ink.right, x + 1),
                       std::max<LONG>(ink.bottom, y + 1)};
    ASSERT_LT(ink.left, ink.right) << "the I-beam draws something";

    ui::Bitmap drawn;
    drawn.Assign(screen);
    capture::DrawCursor(drawn);
    RECT changed{screen.Width(), screen.Height(), -1, -1};
    for (int y = 0; y < screen.Height(); ++y)
        for (int x = 0; x < screen.Width(); ++x)
            if (drawn.Pixel(x, y) != screen.Pixel(x, y))
                changed = {std::min<LONG>(changed.left, x), std::min<LONG>(changed.top, y),
                           std::max<LONG>(changed.right, x + 1), std::max<LONG>(changed.bottom, y + 1)};
    EXPECT_EQ(changed.left, at.x - hotSpot.x + ink.left);
    EXPECT_EQ(changed.top, at.y - hotSpot.y + ink.top);
    EXPECT_EQ(changed.right - changed.left, ink.right - ink.left) << "natural size";
    EXPECT_EQ(changed.bottom - changed.top, ink.bottom - ink.top) << "natural size";
    // The I-beam's hot spot is on its stroke: the cursor position is inked.
    EXPECT_TRUE(at.x >= changed.left && at.x < changed.right && at.y >= changed.top && at.y < changed.bottom);
    EXPECT_NE(drawn.Pixel(at.x, at.y), 0xFFFFFFu) << "the beam passes through the cursor position";

    // Into a grab of part of the screen, the cursor lands where it is on the screen.
    const RECT part{500, 350, 620, 470};
    ui::Bitmap partGrab;
    capture::GrabScreenArea(partGrab, part);
    capture::DrawCursor(partGrab, {part.left, part.top});
    for (int y = 0; y < partGrab.Height(); ++y)
        for (int x = 0; x < partGrab.Width(); ++x)
            ASSERT_EQ(partGrab.Pixel(x, y), drawn.Pixel(part.left + x, part.top + y)) << x << ", " << y;
}

TEST(Grab, NothingIsDrawnWithoutAShownCursor) {
    const HCURSOR ibeam = LoadCursorW(nullptr, IDC_IBEAM);
    for (const bool hiddenByCount : {true, false}) {
        SCOPED_TRACE(hiddenByCount ? "ShowCursor(FALSE)" : "SetCursor(nullptr)");
        // Either the I-beam with the cursor hidden, or no cursor at all.
        TestWindow window({.bounds = {400, 300, 700, 500},
                           .cursor = hiddenByCount ? ibeam : nullptr,
                           .colour = [](int, int) { return 0xFFFFFFu; }});
        const ui::Bitmap screen = ShowAndGrab(window);
        MoveCursorTo(550, 400);
        SendMessageW(window.Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(window.Handle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        if (hiddenByCount) CursorShown::Hide();
        ui::Bitmap drawn;
        drawn.Assign(screen);
        capture::DrawCursor(drawn);
        CursorShown::Show();
        EXPECT_EQ(memcmp(drawn.Row(0), screen.Row(0), static_cast<size_t>(screen.Stride()) * screen.Height()), 0);
    }
}
