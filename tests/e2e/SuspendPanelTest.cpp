// The suspend panel as a user drives Snapora with it all day: its buttons
// capture the window the user was working in without taking the focus, it is
// dragged by its background, and it hides, shows and quits with the program.
#include "app/MainWindow.h"
#include "suspend/SuspendPanel.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace e2e;

class SuspendPanel : public CaptureSession {
protected:
    // Clicks "Suspend" on the main window and gives the panel once it is up.
    HWND ShowPanelFromMainWindow() {
        Click(ScreenPoint(main, {160 + 36, 40 + 30}));
        return app->WaitForWindow(suspend::kSuspendPanelClass, L"FormSimple", kWait);
    }

    // The middle of the panel's button whose left edge is at left.
    static POINT PanelButton(HWND panel, int left, int width = 24) {
        RECT r = support::WindowRectOf(panel);
        return {r.left + left + width / 2, r.top + 10 + 12};
    }

    static POINT TopLeft(HWND window) {
        RECT r = support::WindowRectOf(window);
        return {r.left, r.top};
    }
};

} // namespace

TEST_F(SuspendPanel, ItStandsInForTheMainWindowCapturesTheUsersWindowAndMovesByItsBackground) {
    Start();
    HWND panel = ShowPanelFromMainWindow();
    ASSERT_NE(panel, nullptr) << "Suspend did not show the panel";
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kWait)) << "the main window stayed";
    const POINT home = TopLeft(panel);
    EXPECT_EQ(home.x, 717);
    EXPECT_EQ(home.y, 109);

    // The user works in another program; the panel's "Active Window" button
    // captures that program's window, and it stays the foreground window.
    TargetProgram target({420, 300, 740, 540});
    RECT t = support::WindowRectOf(target.Window());
    ASSERT_NO_FATAL_FAILURE(BringToFront(target));
    const Picture before = GrabScreen(t);
    Click(PanelButton(panel, 42));
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Active Window on the panel did not capture";
    EXPECT_TRUE(Checked(L"Active Window")) << "the button did not select the method on the main window";
    // The picture is the user's window as it was in front, so the click on
    // the panel did not take the foreground.
    EXPECT_TRUE(SamePicture(CopyPicture(save), before)) << "the picture is not the user's window";
    Cancel(save);

    // A right press on the background does not drag; a left drag moves the
    // panel by the cursor's distance, also partly off the screen.
    // The background at the panel's right end, past the last button.
    const POINT grip{home.x + 261, home.y + 20};
    Drag(grip, {grip.x + 120, grip.y + 80}, Button::Right);
    PressKeys({VK_ESCAPE}); // the right click's menu
    ASSERT_TRUE(WaitUntil([] { return !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, kWait));
    EXPECT_EQ(TopLeft(panel).x, home.x) << "a right drag moved the panel";
    // In small steps, as a hand moves, each once the panel has followed the
    // one before: under Wine a window that is not in front keeps the mouse
    // only while the pointer is over it. On a loaded machine Wine can also
    // report a move without the button held, taken from the X pointer that
    // no real button holds, and the panel lets go as it does for a release
    // it never saw; the hand then takes the panel up again where it lies.
    const POINT destination{home.x - 760, home.y + 200};
    const auto at = [&](POINT where) {
        const POINT now = TopLeft(panel);
        return now.x == where.x && now.y == where.y;
    };
    for (int grab = 0; grab < 3 && !at(destination); ++grab) {
        const POINT start = TopLeft(panel);
        const POINT hold{start.x + 261, start.y + 20};
        constexpr int kSteps = 40;
        MoveMouse(hold);
        MouseDown();
        for (int i = 1; i <= kSteps; ++i) {
            const POINT step{(destination.x - start.x) * i / kSteps, (destination.y - start.y) * i / kSteps};
            MoveMouse({hold.x + step.x, hold.y + step.y});
            if (!WaitUntil([&] { return at({start.x + step.x, start.y + step.y}); })) break;
        }
        MouseUp();
    }
    EXPECT_TRUE(WaitUntil([&] { return at(destination); }))
        << "now at " << TopLeft(panel).x << ", " << TopLeft(panel).y;

    // "Quit" ends the program.
    const POINT moved = TopLeft(panel);
    Click({moved.x + 231 + 12, moved.y + 22});
    EXPECT_EQ(app->WaitForExit(kWait), std::optional<DWORD>(0));
}

TEST_F(SuspendPanel, WithStartupSuspendOnlyTheTrayShowsAndTheTrayMenuBringsThePanelHome) {
    app.emplace(RunningSnapora::LaunchArgs{.configIni = "[Options]\r\nStartupSuspend=1\r\n"});
    main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000, true);
    ASSERT_NE(main, nullptr);
    // By the time its message loop runs, it would have shown its windows.
    ASSERT_TRUE(Answers(main, 15000));
    EXPECT_FALSE(IsWindowVisible(main));
    EXPECT_EQ(app->FindWindowOf(suspend::kSuspendPanelClass, nullptr, false), nullptr) << "the panel showed";

    // "Show Suspend Panel": the eighth item that can be chosen in the tray menu.
    Click(TrayIcon(), Button::Right);
    ASSERT_TRUE(WaitForMenu() && Answers(main)) << "no tray menu";
    for (int i = 0; i < 8; ++i)
        PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    HWND panel = app->WaitForWindow(suspend::kSuspendPanelClass, nullptr, kWait);
    ASSERT_NE(panel, nullptr) << "the tray menu did not show the panel";
    EXPECT_EQ(TopLeft(panel).x, 717);
    EXPECT_EQ(TopLeft(panel).y, 109);
    EXPECT_FALSE(IsWindowVisible(main));

    // The panel's "Hide" leaves only the tray icon; the hotkeys still work.
    Click({717 + 6, 109 + 20}, Button::Right);
    ASSERT_TRUE(WaitForMenu() && Answers(main)) << "no panel menu";
    PressKeys({VK_DOWN});
    PressKeys({VK_DOWN});
    PressKeys({VK_RETURN});
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(panel); }, kWait)) << "Hide did not hide the panel";
    EXPECT_TRUE(app->Windows().empty()) << "a window of the program is still shown";
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+1 did not capture with only the tray left";
    Cancel(save);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}
