// The More Options window as a user reaches it: "Options" on the main window,
// then "More…" in the Options window; Esc closes each in turn.
#include "app/MainWindow.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <string>

using namespace support;

namespace {

constexpr DWORD kWait = 15000;

POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

} // namespace

TEST(MoreOptions, OpensFromOptionsAboveItAndClosingBothLeavesTheSettingsFileAsItWas) {
    const std::string config = "[Options]\r\nFixedRegionWidth=321\r\nIntervalCent=Minutes\r\nInterval=120000\r\n"
                               "CaptureIndex=7\r\n";
    RunningSnapora app({.configIni = config});
    HWND main = app.WaitForWindow(app::kMainWindowClass, nullptr, kWait);
    ASSERT_NE(main, nullptr) << "the main window was not shown";
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }, kWait));

    Click(ScreenPoint(main, {88 + 36, 40 + 30})); // "Options" on the header
    HWND options = app.WaitForWindow(settings::kOptionsWindowClass, L"Snapora - Options", kWait);
    ASSERT_NE(options, nullptr) << "the Options window did not open";
    RECT client{};
    GetClientRect(options, &client);
    EXPECT_EQ(client.right, 443) << "the Options window keeps its size";
    EXPECT_EQ(client.bottom, 529);

    // "More…" lies in the corner right of Reset.
    Click(ScreenPoint(options, {352 + 32, 478 + 11}));
    HWND more = app.WaitForWindow(settings::kMoreOptionsWindowClass, L"Snapora - More Options", kWait);
    ASSERT_NE(more, nullptr) << "\"More…\" did not open the More Options window";
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == more; }, kWait)) << "it is not in front";
    EXPECT_FALSE(IsWindowEnabled(options)) << "the Options window takes no input while More Options is open";
    EXPECT_FALSE(IsWindowEnabled(main));
    EXPECT_EQ(GetWindow(more, GW_OWNER), GetWindow(options, GW_OWNER)) << "off the taskbar like the Options window";

    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(more); }, kWait)) << "Esc did not close More Options";
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(options) && GetForegroundWindow() == options; }, kWait))
        << "the Options window did not come back to the front";
    EXPECT_TRUE(IsWindowVisible(options));

    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }, kWait)) << "Esc did not close Options";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main); }, kWait));
    EXPECT_EQ(ReadFileBytes(app.Folder() + L"\\config.ini"), config);
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
}
