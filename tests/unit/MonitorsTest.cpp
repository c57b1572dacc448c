// The monitor arithmetic on a made-up desk of two monitors, and windows kept
// on the real desktop's monitors.
#include "ui/Monitors.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// The primary, with a taskbar along its bottom, and a smaller monitor to its
// left whose top lies lower.
const std::vector<ui::Monitor> kDesk{{{0, 0, 1280, 1024}, {0, 0, 1280, 1004}, true},
                                     {{-1024, 100, 0, 868}, {-1024, 100, 0, 868}, false}};

::testing::AssertionResult Same(const RECT& a, const RECT& b) {
    if (EqualRect(&a, &b)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << a.left << ", " << a.top << " - " << a.right << ", " << a.bottom;
}

} // namespace

TEST(Monitors, FindTheMonitorOfAPointOrARectangleAndTheVirtualScreen) {
    EXPECT_TRUE(Same(ui::VirtualScreen(kDesk), {-1024, 0, 1280, 1024}));
    EXPECT_TRUE(ui::PrimaryMonitor(kDesk).primary);
    EXPECT_EQ(ui::MonitorAt(kDesk, {-1, 500}).bounds.left, -1024);
    EXPECT_EQ(ui::MonitorAt(kDesk, {0, 500}).bounds.left, 0);
    // Above the left monitor no monitor shows: the nearest is the left one.
    EXPECT_EQ(ui::MonitorAt(kDesk, {-600, 20}).bounds.left, -1024);
    EXPECT_EQ(ui::MonitorAt(kDesk, {-5, 1000}).bounds.left, 0);
    // A rectangle across the boundary belongs where most of it lies.
    EXPECT_EQ(ui::MonitorOf(kDesk, {-300, 200, 100, 400}).bounds.left, -1024);
    EXPECT_EQ(ui::MonitorOf(kDesk, {-100, 200, 300, 400}).bounds.left, 0);
    EXPECT_EQ(ui::MonitorOf(kDesk, {-900, 900, -800, 1000}).bounds.left, -1024) << "nearest to the centre";
}

TEST(Monitors, ReachabilityFittingAndKeepingInside) {
    EXPECT_TRUE(ui::ReachableOnMonitors(kDesk, {-200, 300, 100, 500}));
    EXPECT_FALSE(ui::ReachableOnMonitors(kDesk, {-1024, 0, -100, 90})) << "above the left monitor";
    EXPECT_FALSE(ui::ReachableOnMonitors(kDesk, {1270, 100, 1600, 400})) << "10 pixels are not enough";
    EXPECT_TRUE(ui::ReachableOnMonitors(kDesk, {1270, 100, 1275, 110})) << "a small window shown whole";
    EXPECT_FALSE(ui::ReachableOnMonitors(kDesk, {3000, 0, 3400, 300}));

    EXPECT_TRUE(Same(ui::FitInto({1200, 950, 1500, 1150}, {0, 0, 1280, 1004}), {980, 804, 1280, 1004}));
    EXPECT_TRUE(Same(ui::FitInto({-50, -40, 2000, 300}, {0, 0, 1280, 1004}), {0, 0, 1280, 340}));
    const POINT home = ui::KeepInside({717, 109}, 300, 60, {0, 0, 800, 600});
    EXPECT_EQ(home.x, 500);
    EXPECT_EQ(home.y, 109);
    const POINT large = ui::KeepInside({717, 109}, 900, 700, {0, 0, 800, 600});
    EXPECT_EQ(large.x, 0);
    EXPECT_EQ(large.y, 0);
}

TEST(Monitors, AWindowOnNoMonitorComesBackAndOneOnAMonitorStays) {
    const std::vector<ui::Monitor> monitors = ui::Monitors();
    ASSERT_FALSE(monitors.empty());
    const RECT virtualScreen = ui::VirtualScreen(monitors);
    HWND window = CreateWindowExW(0, L"STATIC", L"Snapora monitors test", WS_OVERLAPPEDWINDOW, 100, 120, 300, 200,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    EXPECT_FALSE(ui::BringOntoMonitors(window));
    EXPECT_TRUE(Same(support::WindowRectOf(window), {100, 120, 400, 320}));

    // Where a removed monitor stood: beyond the right edge of every monitor.
    SetWindowPos(window, nullptr, virtualScreen.right + 200, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ui::BringOntoMonitors(window));
    const RECT back = support::WindowRectOf(window);
    EXPECT_EQ(back.right - back.left, 300);
    EXPECT_EQ(back.bottom - back.top, 200);
    EXPECT_TRUE(ui::ReachableOnMonitors(monitors, back, 200));

    // Shown partly off its monitor, it is moved wholly onto it.
    SetWindowPos(window, nullptr, virtualScreen.right - 100, 100, 300, 200, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(ui::FitOntoMonitor(window));
    const RECT fitted = support::WindowRectOf(window);
    const RECT work = ui::MonitorOf(monitors, fitted).workArea;
    RECT inside{};
    IntersectRect(&inside, &fitted, &work);
    EXPECT_TRUE(Same(inside, fitted));
    EXPECT_FALSE(ui::FitOntoMonitor(window));
    DestroyWindow(window);
}
