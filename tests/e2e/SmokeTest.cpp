// The program starts, with or without its settings file, refuses to start
// without its hook library, and ends cleanly when closed.
#include "app/MainWindow.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <filesystem>

using support::RunningSnapora;

TEST(Smoke, StartsWithoutConfigAndEndsCleanlyWhenClosed) {
    RunningSnapora app;
    ASSERT_TRUE(app.WaitForWindow(app::kMainWindowClass, L"Snapora", 15000, true)) << "no main window appeared";
    EXPECT_TRUE(app.IsRunning());
    const auto code = app.Close();
    ASSERT_TRUE(code.has_value()) << "the program did not end when closed";
    EXPECT_EQ(*code, 0u);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(app.Folder()) / L"config.ini"))
        << "a run without Save or Reset must not create the settings file";
}

TEST(Smoke, StartsWithConfigAndLeavesItUntouched) {
    const std::string config = "[Options]\r\nStartupSuspend=1\r\nFixedRegionWidth=320\r\nFixedRegionHeight=240\r\n";
    RunningSnapora app({.configIni = config});
    ASSERT_TRUE(app.WaitForWindow(app::kMainWindowClass, nullptr, 15000, true));
    const auto code = app.Close();
    ASSERT_TRUE(code.has_value());
    EXPECT_EQ(*code, 0u);
    EXPECT_EQ(support::ReadFileBytes(app.Folder() + L"\\config.ini"), config);
}

TEST(Smoke, RefusesToStartWithoutTheHookLibrary) {
    RunningSnapora app({.withHook = false});
    const auto code = app.WaitForExit(15000);
    ASSERT_TRUE(code.has_value()) << "the program runs without hook.dll";
    EXPECT_NE(*code, 0u);
    EXPECT_EQ(app.FindWindowOf(app::kMainWindowClass), nullptr);
}

// The driver's real input reaches another program, and the screen reads back
// what it painted: the ground every capture test stands on.
TEST(Driver, RealInputReachesAnotherProgramAndTheScreenShowsIt) {
    support::TargetProgram target({300, 300, 620, 540});
    RECT client;
    GetClientRect(target.Window(), &client);
    POINT corner = support::ScreenPoint(target.Window(), {client.right - 5, client.bottom - 5});
    EXPECT_EQ(support::ScreenPixel(corner), 0xFF8000u);

    RECT button;
    GetWindowRect(target.Button(), &button);
    const POINT at{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    support::Click(at);
    EXPECT_TRUE(support::WaitUntil([&] { return target.Clicks() == 1; }, 3000))
        << "clicks seen: " << target.Clicks()
        << ", button under the mouse: " << (WindowFromPoint(at) == target.Button());
}
