// The capture cycle through the real program: a method is selected on the
// main window, the capture key is typed (or the Capture button clicked), and
// the picture that reaches the picture window is read back from the
// clipboard with its "Copy to Clipboard" button.
#include "capture/HighlightFrame.h"
#include "app/MainWindow.h"
#include "picture/PictureWindow.h"
#include "region/RegionScreen.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>

using support::Picture;
using support::RunningSnapora;

namespace {

using namespace e2e;

class Capture : public CaptureSession {};

} // namespace

TEST_F(Capture, FullScreenByKeyThenNotAgainByKeyButAgainByTheCaptureButton) {
    Start();
    Select(L"Full Screen");
    support::TargetProgram target({60, 680, 360, 900});
    support::MoveMouse({1200, 980});
    const Picture before = support::GrabScreen(Screen());

    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the capture key did not open the picture window";
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), before.Size());
    // The other program's window, and no cursor where the mouse rested.
    RECT t = support::WindowRectOf(target.Window());
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
    ASSERT_TRUE(support::WaitUntil([&] { return IsIconic(save); }, kWait));
    ClickCaptureButton();
    save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the Capture button did not capture again";
    const Picture again = CopyPicture(save);
    EXPECT_EQ(again.Size(), before.Size());
    Cancel(save);
}

TEST_F(Capture, ActiveWindowTakesTheForegroundWindowFrameIncluded) {
    Start();
    Select(L"Active Window");
    support::TargetProgram target({420, 300, 740, 540});
    RECT t = support::WindowRectOf(target.Window());
    ASSERT_NO_FATAL_FAILURE(BringToFront(target));
    const Picture before = support::GrabScreen(t);

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
    support::TargetProgram target({420, 300, 740, 540});
    RECT button = support::WindowRectOf(target.Button());
    const Picture before = support::GrabScreen(button);

    TypeCaptureKey();
    support::MoveMouse(Centre(target.Button()));
    // The highlight frame lies around the button, its ring just outside it.
    HWND frame = nullptr;
    const RECT expected{button.left - 5, button.top - 5, button.right + 5, button.bottom + 5};
    RECT seen{};
    ASSERT_TRUE(support::WaitUntil(
        [&] {
            KeepMouseAt(Centre(target.Button()));
            frame = app->FindWindowOf(capture::kHighlightFrameClass, nullptr, false);
            return frame && GetWindowRect(frame, &seen) && SameRect(seen, expected);
        },
        kWait))
        << "no highlight frame around the button; " << (frame ? "the frame stands at " : "no frame shown") << seen.left
        << ", " << seen.top << " - " << seen.right << ", " << seen.bottom;
    // The ring is the frame's colour, just outside the button.
    EXPECT_TRUE(support::WaitUntil(
        [&] {
            KeepMouseAt(Centre(target.Button()));
            return support::ScreenPixel({button.left - 2, Centre(target.Button()).y}) == 0xFA0CFAu;
        },
        kWait));

    support::Click(Centre(target.Button()));
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
    support::TargetProgram target({330, 240, 680, 540});
    support::MoveMouse({1200, 980});
    const Picture before = support::GrabScreen(Screen());

    TypeCaptureKey();
    support::MoveMouse({500, 400});
    HWND frame = nullptr;
    ASSERT_TRUE(support::WaitUntil(
        [&] {
            KeepMouseAt({500, 400});
            frame = app->FindWindowOf(capture::kHighlightFrameClass, nullptr, false);
            RECT r{};
            return frame && GetWindowRect(frame, &r) && SameRect(r, {340, 280, 670, 530});
        },
        kWait))
        << "no 330 x 250 frame at (340, 280)";
    // The ring: outer edge (342, 282), inner edge (345, 285); the hole shows the screen.
    EXPECT_TRUE(support::WaitUntil([] { return support::ScreenPixel({342, 400}) == 0xFA0CFAu; }, kWait));
    EXPECT_EQ(support::ScreenPixel({344, 400}), 0xFA0CFAu);
    EXPECT_EQ(support::ScreenPixel({345, 300}), before.At(345, 300));

    support::Click({500, 400});
    HWND save = WaitForPictureWindow(POINT{500, 400});
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), std::pair(320, 240));
    // The hole (345, 285)-(655, 515), stretched to the box's size.
    EXPECT_EQ(shot.At(0, 0), before.At(345, 285));
    EXPECT_EQ(shot.At(319, 239), before.At(654, 514));
    EXPECT_EQ(target.Clicks(), 0);
    Cancel(save);
}

TEST_F(Capture, SelectedRegionByARealDragGivesTheDraggedSize) {
    Start();
    support::TargetProgram target({250, 150, 650, 450});
    support::MoveMouse({1200, 980});
    const Picture before = support::GrabScreen(Screen());

    TypeCaptureKey();
    HWND display = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the region screen did not open";
    // Bottom-right to top-left, with the right button: the same as the other way round.
    support::Drag({500, 300}, {300, 200}, support::Button::Right);
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), std::pair(200, 100));
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
    EXPECT_TRUE(support::WaitUntil([&] { return !IsWindowVisible(display); }, kWait))
        << "the region screen stays up after the picture window closed";
    EXPECT_EQ(target.Clicks(), 0);
}

TEST_F(Capture, TheCaptureKeyRightAfterStartAndTheCaptureButtonOpenTheRegionScreen) {
    Start();
    TypeCaptureKey();
    HWND display = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the capture key right after start did nothing";
    // A press and release at one point: an empty selection still opens the picture window.
    support::Click({640, 500});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    Cancel(save);
    ASSERT_TRUE(support::WaitUntil([&] { return !IsWindowVisible(display); }, kWait));

    // The Capture button arms the hook and types the key, which the hook sees.
    ClickCaptureButton();
    EXPECT_TRUE(support::WaitUntil([&] { return IsWindowVisible(display) != FALSE; }, kWait))
        << "the Capture button did not reach the trigger";
}

TEST_F(Capture, IncludeCursorDrawsTheCursorIntoThePicture) {
    Start("[Options]\r\nIncludeCursor=1\r\n");
    Select(L"Full Screen");
    // Over the main window's white body, between the method group and the
    // picture. (Wine cannot draw a cursor that belongs to another process, so
    // the cursor shown here is Snapora's own.)
    POINT rest = ScreenPoint(main, {255, 250});
    support::MoveMouse(rest);
    Sleep(300); // the window under the pointer sets its cursor first
    const Picture before = support::GrabScreen(Screen());

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
