// Snapora driven with its main window hidden: the global hotkeys, and the
// tray icon with its menu, as a user reaches them.
#include "capture/HighlightFrame.h"
#include "app/MainWindow.h"
#include "region/RegionScreen.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace e2e;

const wchar_t* const kHotKeyAtoms[] = {L"MyCtrl1HotKey", L"MyCtrl2HotKey", L"MyCtrl3HotKey", L"MyCtrl4HotKey",
                                       L"MyCtrl5HotKey", L"MyCtrl6HotKey", L"MyCtrl7HotKey"};

class HotKeysAndTray : public CaptureSession {
protected:
    // Starts the program with its main window hidden, as StartupSuspend does.
    void StartHidden() {
        app.emplace(RunningSnapora::LaunchArgs{.configIni = "[Options]\r\nStartupSuspend=1\r\n"});
        main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000, true);
        ASSERT_NE(main, nullptr) << "no main window";
        ASSERT_TRUE(Answers(main, 15000)) << "the message loop did not start";
    }

    // The rows of the menu's left margin (where check marks are drawn) that
    // hold dark pixels, grouped into runs: one run per check mark.
    static std::vector<int> CheckMarkRows(HWND menu) {
        RECT r = support::WindowRectOf(menu);
        const Picture margin = GrabScreen({r.left + 2, r.top, r.left + 18, r.bottom});
        // A menu not painted yet shows what lay under it: most of a painted
        // margin is the menu's own colour.
        const std::uint32_t menuPixel = RgbOf(GetSysColor(COLOR_MENU));
        if (std::count(margin.pixels.begin(), margin.pixels.end(), menuPixel) * 2 < std::ssize(margin.pixels))
            return {};
        std::vector<int> runs;
        bool inRun = false;
        for (int y = 0; y < margin.height; ++y) {
            bool dark = false;
            for (int x = 0; x < margin.width && !dark; ++x) {
                const std::uint32_t p = margin.At(x, y);
                dark = ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 200;
            }
            if (dark && !inRun) runs.push_back(y);
            inRun = dark;
        }
        return runs;
    }

    // Opens the tray menu with a right click and gives where its single check
    // mark stands, then closes the menu again.
    std::optional<int> TrayMenuCheckMark() {
        Click(TrayIcon(), Button::Right);
        HWND menu = WaitForMenu();
        if (!menu) return std::nullopt;
        // Until the menu has painted, its margin shows no mark, or whatever
        // lay under it: one mark, read the same twice in a row, is the menu's.
        std::vector<int> marks, before;
        WaitUntil(
            [&] {
                before = std::exchange(marks, CheckMarkRows(menu));
                return marks.size() == 1 && marks == before;
            },
            kWait, 100);
        PressKeys({VK_ESCAPE});
        WaitUntil([&] { return !IsWindowVisible(menu); }, kWait);
        if (marks.size() != 1) return std::nullopt;
        return marks[0];
    }
};

} // namespace

TEST_F(HotKeysAndTray, MethodHotKeysCaptureWhileTheMainWindowStaysHidden) {
    StartHidden();
    ASSERT_FALSE(IsWindowVisible(main));

    // Ctrl+4: the region screen, over everything, with the main window still hidden.
    PressKeys({VK_CONTROL, '4'});
    HWND regionScreen = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
    ASSERT_NE(regionScreen, nullptr) << "Ctrl+4 did not open the region screen";
    EXPECT_TRUE(Checked(L"Selected Region"));
    EXPECT_FALSE(IsWindowVisible(main));
    // Another method key while the region screen is up leaves it alone.
    PressKeys({VK_CONTROL, '1'});
    Sleep(1200);
    EXPECT_TRUE(Checked(L"Selected Region"));
    Drag({300, 300}, {500, 400}, Button::Right);
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    Cancel(save);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(regionScreen); }, kWait));

    // Ctrl+1: the whole screen.
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+1 did not capture";
    EXPECT_TRUE(Checked(L"Full Screen"));
    const Picture screen = CopyPicture(save);
    EXPECT_EQ(screen.Size(), std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    Cancel(save);

    // Ctrl+2 with Full Screen selected: Active Window, and the picture is
    // the other program's window in front.
    TargetProgram target({420, 300, 740, 540});
    RECT t = support::WindowRectOf(target.Window());
    ASSERT_NO_FATAL_FAILURE(BringToFront(target));
    const Picture before = GrabScreen(t);
    PressKeys({VK_CONTROL, '2'});
    save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+2 did not capture";
    EXPECT_TRUE(Checked(L"Active Window"));
    EXPECT_FALSE(Checked(L"Full Screen"));
    EXPECT_TRUE(SamePicture(CopyPicture(save), before));
    Cancel(save);
    EXPECT_FALSE(IsWindowVisible(main));

    // Ctrl+S while periodic capture is off: it stays off, and nothing asks.
    PressKeys({VK_CONTROL, 'S'});
    Sleep(800);
    EXPECT_FALSE(Checked(L"Real Time Capture"));
    EXPECT_EQ(app->FindWindowOf(L"#32770", nullptr, false), nullptr) << "a box appeared";
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(HotKeysAndTray, TheTrayIconShowsAndHidesTheWindowAndItsMenuTracksTheMethodAndExits) {
    Start();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kWait));
    ASSERT_TRUE(WaitUntil(TrayIconShown, kWait)) << "no tray icon";

    // A left click hides the shown window, the next one shows it again.
    Click(TrayIcon());
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); }, kWait)) << "the first click did not hide it";
    AwaitDoubleClickTime();
    Click(TrayIcon());
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kWait)) << "the second click did not show it";

    // The check mark follows the method a hotkey chose since the last opening.
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    Cancel(save);
    const std::optional<int> fullScreenMark = TrayMenuCheckMark();
    ASSERT_TRUE(fullScreenMark) << "no single check mark after Ctrl+1";

    TargetProgram target({420, 300, 740, 540});
    PressKeys({VK_CONTROL, '2'});
    save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    Cancel(save);
    const std::optional<int> activeWindowMark = TrayMenuCheckMark();
    ASSERT_TRUE(activeWindowMark) << "no single check mark after Ctrl+2";
    EXPECT_GT(*activeWindowMark, *fullScreenMark + 8) << "the mark did not move down to the next item";

    // "Exit", the menu's last item, ends the program and gives back the atoms.
    AwaitDoubleClickTime();
    Click(TrayIcon(), Button::Right);
    HWND menu = WaitForMenu();
    ASSERT_NE(menu, nullptr);
    RECT r = support::WindowRectOf(menu);
    ASSERT_TRUE(WaitUntil([&] { return CheckMarkRows(menu).size() == 1; }, kWait)) << "the menu did not paint";
    Click({r.left + 40, r.bottom - 10});
    EXPECT_EQ(app->WaitForExit(kWait), std::optional<DWORD>(0));
    for (const wchar_t* atom : kHotKeyAtoms)
        EXPECT_EQ(GlobalFindAtomW(atom), 0) << "left behind";
}

TEST_F(HotKeysAndTray, AHotKeyHeldByAnotherProgramIsMissingWhileTheOthersWork) {
    // This test program holds Ctrl+3 before Snapora starts.
    constexpr int kHeldId = 0x2F00;
    ASSERT_TRUE(RegisterHotKey(nullptr, kHeldId, MOD_CONTROL, '3'));
    Start();
    PressKeys({VK_CONTROL, '3'});
    Sleep(1200);
    EXPECT_FALSE(Checked(L"Object")) << "Ctrl+3 reached Snapora";
    EXPECT_EQ(app->FindWindowOf(capture::kHighlightFrameClass, nullptr, false), nullptr);
    EXPECT_TRUE(app->IsRunning());

    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    HWND save = WaitForPictureWindow();
    EXPECT_NE(save, nullptr) << "Ctrl+1 did not capture";
    if (save) Cancel(save);
    UnregisterHotKey(nullptr, kHeldId);
    // The key presses of Ctrl+3 came to this thread; they are dropped here.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, WM_HOTKEY, WM_HOTKEY, PM_REMOVE)) {
    }
}
