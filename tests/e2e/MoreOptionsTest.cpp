// The More Options window as a user reaches it: "Options" on the main window,
// then "More…" in the Options window; Esc closes More Options, the close box
// in its caption the Options window.
#include "app/MainWindow.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/support/Files.h"
#include "tests/support/Windows.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>

using namespace support;

namespace {

constexpr DWORD kWait = 15000;

// The close box in the caption of a window with a dialog frame, in screen
// coordinates, where the system puts it.
RECT CloseBox(HWND window) {
    RECT frame = support::WindowRectOf(window);
    const int right = frame.right - GetSystemMetrics(SM_CXDLGFRAME) - 2;
    const int top = frame.top + GetSystemMetrics(SM_CYDLGFRAME) + 2;
    return {right - GetSystemMetrics(SM_CXSIZE), top, right, top + GetSystemMetrics(SM_CYSIZE) - 2};
}

// Whether the dark pixels inside the box's raised edge make a cross: a glyph
// that is the same mirrored left to right and top to bottom, with ink at its
// middle. A letter, such as the "r" that stands in for the cross without the
// font it comes from, is not.
bool ShowsACross(const RECT& box) {
    const Picture face = GrabScreen({box.left + 2, box.top + 2, box.right - 2, box.bottom - 2});
    std::set<std::pair<int, int>> ink;
    for (int y = 0; y < face.height; ++y)
        for (int x = 0; x < face.width; ++x)
            if (const std::uint32_t p = face.At(x, y); (p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF) < 3 * 96)
                ink.insert({x, y});
    if (ink.size() < 10) return false;
    int left = face.width, right = -1, top = face.height, bottom = -1;
    for (const auto& [x, y] : ink) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    for (const auto& [x, y] : ink)
        if (!ink.count({left + right - x, y}) || !ink.count({x, top + bottom - y})) return false;
    return ink.count({(left + right) / 2, (top + bottom) / 2}) > 0;
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

    const RECT closeBox = CloseBox(options);
    EXPECT_TRUE(WaitUntil([&] { return ShowsACross(closeBox); }, kWait)) << "the close box shows no cross";
    Click({(closeBox.left + closeBox.right) / 2, (closeBox.top + closeBox.bottom) / 2});
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }, kWait)) << "the close box did not close Options";
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(main); }, kWait));
    EXPECT_EQ(ReadFileBytes(app.Folder() + L"\\config.ini"), config);
    EXPECT_EQ(app.Close(), std::optional<DWORD>(0));
}
