// The capture cycle through the real program: a method is selected on the
// main window, the capture key is typed (or the Capture button clicked), and
// the picture that reaches the picture window is read back from the
// clipboard with its "Copy to Clipboard" button.
#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

using e2e::Picture;
using e2e::SnaporaApp;

namespace {

constexpr DWORD kWait = 8000;

POINT Centre(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The part of a picture at (x, y) of size w x h.
Picture Part(const Picture& from, int x, int y, int w, int h) {
    Picture part{w, h, {}};
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            part.pixels.push_back(from.At(x + col, y + row));
    return part;
}

::testing::AssertionResult SamePicture(const Picture& a, const Picture& b) {
    if (a.width != b.width || a.height != b.height)
        return ::testing::AssertionFailure() << a.width << " x " << a.height << " vs " << b.width << " x " << b.height;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (a.At(x, y) != b.At(x, y))
                return ::testing::AssertionFailure() << "differs at " << x << ", " << y << ": " << std::hex << a.At(x, y)
                                                     << " vs " << b.At(x, y);
    return ::testing::AssertionSuccess();
}

// Puts the mouse back at a point if it is not there. Under Wine the program
// whose window lies under the X pointer may report an earlier pointer place
// late, as a move of its own, and the cursor then jumps back; the highlight
// frame follows the cursor, so a test that waits on the frame keeps the
// mouse where it wants it.
void KeepMouseAt(POINT at) {
    POINT now{};
    GetCursorPos(&now);
    if (now.x != at.x || now.y != at.y) e2e::MoveMouse(at);
}

class Capture : public ::testing::Test {
protected:
    void Start(std::optional<std::string> config = std::nullopt) {
        app.emplace(SnaporaApp::LaunchArgs{.configIni = std::move(config)});
        main = app->WaitForWindow(L"TFrmCapture", L"Snapora", 15000);
        ASSERT_NE(main, nullptr) << "no main window";
    }

    // Clicks the method's radio button on the main window.
    void Select(const wchar_t* method) {
        HWND radio = FindWindowExW(main, nullptr, L"Button", method);
        ASSERT_NE(radio, nullptr) << "no radio button for the method";
        e2e::Click(Centre(radio));
        ASSERT_TRUE(e2e::WaitUntil([&] { return SendMessageW(radio, BM_GETCHECK, 0, 0) == BST_CHECKED; }, kWait));
    }

    void ClickCaptureButton() {
        POINT capture{8 + 36, 40 + 30};
        ClientToScreen(main, &capture);
        e2e::Click(capture);
    }

    // The picture window, once it is up, maximized, in front; with rest
    // given, the mouse is kept there until then.
    HWND WaitForPictureWindow(std::optional<POINT> rest = std::nullopt) {
        HWND save = nullptr;
        e2e::WaitUntil(
            [&] {
                if (rest) KeepMouseAt(*rest);
                save = app->FindWindowOf(L"TFrmSave", nullptr, false);
                return save && IsZoomed(save) && !IsIconic(save);
            },
            kWait);
        return save;
    }

    // A toolbar button of the picture window, by its place on the toolbar.
    static POINT Toolbar(HWND save, int left, int width) {
        POINT at{left + width / 2, 8 + 30};
        ClientToScreen(save, &at);
        return at;
    }

    // "Copy to Clipboard", then OK on the confirmation; gives what the clipboard got.
    Picture CopyPicture(HWND save) {
        e2e::ClearClipboard();
        e2e::Click(Toolbar(save, 488, 113));
        HWND box = app->WaitForWindow(L"#32770", nullptr, kWait);
        EXPECT_NE(box, nullptr) << "no confirmation";
        if (!box) return {};
        // The box is the system's, not ours: its button is pressed by message,
        // which does not depend on when the box has settled in its place.
        HWND ok = FindWindowExW(box, nullptr, L"Button", nullptr);
        PostMessageW(ok, BM_CLICK, 0, 0);
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(box); }, kWait));
        return e2e::ReadClipboardBitmap().value_or(Picture{});
    }

    void ZoomIn(HWND save) { e2e::Click(Toolbar(save, 87, 73)); }

    void Cancel(HWND save) {
        e2e::Click(Toolbar(save, 608, 73));
        EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(save); }, kWait));
    }

    static void TypeCaptureKey() { e2e::PressKeys({VK_CONTROL, 'D'}); }

    static RECT Screen() { return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

    std::optional<SnaporaApp> app;
    HWND main = nullptr;
};

} // namespace

TEST_F(Capture, FullScreenByKeyThenNotAgainByKeyButAgainByTheCaptureButton) {
    Start();
    Select(L"Full Screen");
    e2e::TargetProgram target({60, 680, 360, 900});
    e2e::MoveMouse({1200, 980});
    const Picture before = e2e::GrabScreen(Screen());

    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the capture key did not open the picture window";
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.width, before.width);
    ASSERT_EQ(shot.height, before.height);
    // The other program's window, and no cursor where the mouse rested.
    RECT t{};
    GetWindowRect(target.Window(), &t);
    EXPECT_TRUE(SamePicture(Part(shot, t.left, t.top, t.right - t.left, t.bottom - t.top),
                            Part(before, t.left, t.top, t.right - t.left, t.bottom - t.top)));
    EXPECT_TRUE(SamePicture(Part(shot, 1190, 970, 32, 32), Part(before, 1190, 970, 32, 32)));

    // The trigger is disarmed while the window is open: the key does nothing.
    ZoomIn(save);
    TypeCaptureKey();
    Sleep(1500); // three ticks of the trigger
    const Picture zoomed = CopyPicture(save);
    EXPECT_EQ(zoomed.width, (before.width * 6 + 4) / 5);

    // The Capture button arms and captures again, into the open window.
    ShowWindow(save, SW_MINIMIZE);
    ASSERT_TRUE(e2e::WaitUntil([&] { return IsIconic(save); }, kWait));
    ClickCaptureButton();
    save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the Capture button did not capture again";
    const Picture again = CopyPicture(save);
    EXPECT_EQ(again.width, before.width);
    EXPECT_EQ(again.height, before.height);
    Cancel(save);
}

TEST_F(Capture, ActiveWindowTakesTheForegroundWindowFrameIncluded) {
    Start();
    Select(L"Active Window");
    e2e::TargetProgram target({420, 300, 740, 540});
    RECT t{};
    GetWindowRect(target.Window(), &t);
    // A click on the window's body (away from its button) brings it to the front.
    e2e::Click({t.left + 20, t.bottom - 20});
    ASSERT_TRUE(e2e::WaitUntil([&] { return GetForegroundWindow() == target.Window(); }, kWait));
    e2e::MoveMouse({1200, 980});
    const Picture before = e2e::GrabScreen(t);

    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(SamePicture(CopyPicture(save), before));
    EXPECT_EQ(target.Clicks(), 0);
    Cancel(save);
}

TEST_F(Capture, ObjectFollowsTheMouseAndTakesTheControlUnderItSwallowingTheClick) {
    Start();
    Select(L"Object");
    e2e::TargetProgram target({420, 300, 740, 540});
    RECT button{};
    GetWindowRect(target.Button(), &button);
    const Picture before = e2e::GrabScreen(button);

    TypeCaptureKey();
    e2e::MoveMouse(Centre(target.Button()));
    // The highlight frame lies around the button, its ring just outside it.
    HWND frame = nullptr;
    const RECT expected{button.left - 5, button.top - 5, button.right + 5, button.bottom + 5};
    RECT seen{};
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            KeepMouseAt(Centre(target.Button()));
            frame = app->FindWindowOf(L"TFrmSelectRect", nullptr, false);
            return frame && GetWindowRect(frame, &seen) && SameRect(seen, expected);
        },
        kWait))
        << "no highlight frame around the button; " << (frame ? "the frame stands at " : "no frame shown")
        << seen.left << ", " << seen.top << " - " << seen.right << ", " << seen.bottom;
    // The ring is the frame's colour, just outside the button.
    EXPECT_TRUE(e2e::WaitUntil([&] { return e2e::ScreenPixel(button.left - 2, Centre(target.Button()).y) == 0xFA0CFAu; },
                               kWait));

    e2e::Click(Centre(target.Button()));
    // The capture takes what is under the mouse at the next tick; the hand
    // rests on the button until then.
    HWND save = WaitForPictureWindow(Centre(target.Button()));
    ASSERT_NE(save, nullptr);
    EXPECT_FALSE(IsWindowVisible(frame)) << "the frame stays up after the capture";
    EXPECT_TRUE(SamePicture(CopyPicture(save), before));
    EXPECT_EQ(target.Clicks(), 0) << "the capturing click reached the button";
    Cancel(save);
}

TEST_F(Capture, FixedRegionTakesTheBoxAroundTheCursor) {
    Start("[Options]\r\nFixedRegionWidth=320\r\nFixedRegionHeight=240\r\n");
    Select(L"Fixed Region");
    // Another program's window under the box, its caption above it: content
    // that stays the same while the box is on screen.
    e2e::TargetProgram target({330, 240, 680, 540});
    e2e::MoveMouse({1200, 980});
    const Picture before = e2e::GrabScreen(Screen());

    TypeCaptureKey();
    e2e::MoveMouse({500, 400});
    HWND frame = nullptr;
    ASSERT_TRUE(e2e::WaitUntil(
        [&] {
            KeepMouseAt({500, 400});
            frame = app->FindWindowOf(L"TFrmSelectRect", nullptr, false);
            RECT r{};
            return frame && GetWindowRect(frame, &r) && SameRect(r, {340, 280, 670, 530});
        },
        kWait))
        << "no 330 x 250 frame at (340, 280)";
    // The ring: outer edge (342, 282), inner edge (345, 285); the hole shows the screen.
    EXPECT_TRUE(e2e::WaitUntil([] { return e2e::ScreenPixel(342, 400) == 0xFA0CFAu; }, kWait));
    EXPECT_EQ(e2e::ScreenPixel(344, 400), 0xFA0CFAu);
    EXPECT_EQ(e2e::ScreenPixel(345, 300), before.At(345, 300));

    e2e::Click({500, 400});
    HWND save = WaitForPictureWindow(POINT{500, 400});
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.width, 320);
    ASSERT_EQ(shot.height, 240);
    // The hole (345, 285)-(655, 515), stretched to the box's size.
    EXPECT_EQ(shot.At(0, 0), before.At(345, 285));
    EXPECT_EQ(shot.At(319, 239), before.At(654, 514));
    EXPECT_EQ(target.Clicks(), 0);
    Cancel(save);
}

TEST_F(Capture, SelectedRegionByARealDragGivesTheDraggedSize) {
    Start();
    e2e::TargetProgram target({250, 150, 650, 450});
    e2e::MoveMouse({1200, 980});
    const Picture before = e2e::GrabScreen(Screen());

    TypeCaptureKey();
    HWND display = app->WaitForWindow(L"TFrmDisplay", nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the region screen did not open";
    // Bottom-right to top-left, with the right button: the same as the other way round.
    e2e::Drag({500, 300}, {300, 200}, e2e::Button::Right);
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.width, 200);
    ASSERT_EQ(shot.height, 100);
    // From inside the rubber band: no pixel of its outline, nothing from outside.
    EXPECT_EQ(shot.At(0, 0), before.At(301, 201));
    EXPECT_EQ(shot.At(199, 99), before.At(498, 298));
    for (int x = 0; x < 200; ++x) {
        const int source = 301 + x * 198 / 200;
        const auto matches = [&](int y, int sy) {
            for (int dx = -1; dx <= 1; ++dx)
                if (shot.At(x, y) == before.At(std::clamp(source + dx, 301, 498), sy)) return true;
            return false;
        };
        ASSERT_TRUE(matches(0, 201)) << "top row at " << x;
        ASSERT_TRUE(matches(99, 298)) << "bottom row at " << x;
    }
    Cancel(save);
    EXPECT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(display); }, kWait))
        << "the region screen stays up after the picture window closed";
    EXPECT_EQ(target.Clicks(), 0);
}

TEST_F(Capture, TheCaptureKeyRightAfterStartAndTheCaptureButtonOpenTheRegionScreen) {
    Start();
    TypeCaptureKey();
    HWND display = app->WaitForWindow(L"TFrmDisplay", nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the capture key right after start did nothing";
    // A press and release at one point: an empty selection still opens the picture window.
    e2e::Click({640, 500});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    Cancel(save);
    ASSERT_TRUE(e2e::WaitUntil([&] { return !IsWindowVisible(display); }, kWait));

    // The Capture button arms the hook and types the key, which the hook sees.
    ClickCaptureButton();
    EXPECT_TRUE(e2e::WaitUntil([&] { return IsWindowVisible(display) != FALSE; }, kWait))
        << "the Capture button did not reach the trigger";
}

TEST_F(Capture, IncludeCursorDrawsTheCursorIntoThePicture) {
    Start("[Options]\r\nIncludeCursor=1\r\n");
    Select(L"Full Screen");
    // Over the main window's white body, between the method group and the
    // picture. (Wine cannot draw a cursor that belongs to another process, so
    // the cursor shown here is Snapora's own.)
    POINT rest{255, 250};
    ClientToScreen(main, &rest);
    e2e::MoveMouse(rest);
    const Picture before = e2e::GrabScreen(Screen());

    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.width, before.width);
    int changed = 0;
    for (int y = rest.y; y < rest.y + 32; ++y)
        for (int x = rest.x; x < rest.x + 32; ++x)
            changed += shot.At(x, y) != before.At(x, y);
    EXPECT_GT(changed, 20) << "no cursor drawn at the mouse position";
    // Away from the cursor the picture is the screen.
    EXPECT_TRUE(SamePicture(Part(shot, 100, 900, 200, 50), Part(before, 100, 900, 200, 50)));
    Cancel(save);
}
