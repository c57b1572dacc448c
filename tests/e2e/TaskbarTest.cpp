// Snapora never shows a button on the taskbar, not even for a message box
// that no window of its own called up, and a modal box that another program
// covers comes forward when a window that it blocks is clicked.
#include "tests/e2e/CaptureSession.h"
#include "tests/e2e/LongRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using namespace e2e;

// The windows of a process that the virtual desktop's taskbar shows a button
// for. Wine's taskbar gives each button the window it stands for as its
// control id.
std::vector<HWND> TaskbarWindowsOf(DWORD processId) {
    std::vector<HWND> windows;
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (HWND button = FindWindowExW(taskbar, nullptr, L"Button", nullptr); button;
         button = FindWindowExW(taskbar, button, L"Button", nullptr)) {
        const auto window = reinterpret_cast<HWND>(GetWindowLongPtrW(button, GWLP_ID));
        DWORD owner = 0;
        if (IsWindowVisible(button) && GetWindowThreadProcessId(window, &owner) && owner == processId)
            windows.push_back(window);
    }
    return windows;
}

// Waits until the taskbar has caught up with every window shown so far: it
// shows a button for a window that this test program shows now. The
// messages that the taskbar sends to that window are handled meanwhile.
bool TaskbarCaughtUp() {
    HWND marker = CreateWindowExW(0, L"STATIC", L"Taskbar marker", WS_OVERLAPPEDWINDOW, 0, 0, 120, 60, nullptr, nullptr,
                                  nullptr, nullptr);
    ShowWindow(marker, SW_SHOWNOACTIVATE);
    const bool shown = WaitUntil(
        [&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            const std::vector<HWND> windows = TaskbarWindowsOf(GetCurrentProcessId());
            return std::find(windows.begin(), windows.end(), marker) != windows.end();
        },
        kWait);
    DestroyWindow(marker);
    return shown;
}

// A point of the window that none of the others covers.
std::optional<POINT> UncoveredPoint(HWND window, std::initializer_list<HWND> others) {
    RECT r = support::WindowRectOf(window);
    for (int y = r.top + 10; y < r.bottom; y += 10)
        for (int x = r.left + 10; x < r.right; x += 10) {
            bool covered = false;
            for (HWND other : others) {
                RECT o = support::WindowRectOf(other);
                covered = covered || PtInRect(&o, {x, y});
            }
            if (!covered) return POINT{x, y};
        }
    return std::nullopt;
}

class Taskbar : public CaptureSession {};

} // namespace

TEST_F(Taskbar, BoxesAddNoButtonAndACoveredModalBoxComesForwardWhenTheProgramIsClicked) {
    Start("[Options]\r\nInterval=60000\r\nIntervalCent=Seconds\r\nRealSavePath=C:\\snapora-taskbar-test\r\n");
    TargetProgram target({700, 600, 1100, 900});
    ASSERT_TRUE(TaskbarCaughtUp()) << "the taskbar shows no button for a window of another program";
    EXPECT_TRUE(TaskbarWindowsOf(app->ProcessId()).empty()) << "Snapora has a taskbar button";

    // Ctrl+R typed in another program asks before periodic capture starts:
    // a box that no window of Snapora called up.
    Click(Centre(target.Window()));
    PressKeys({VK_CONTROL, 'R'});
    HWND notice = app->WaitForWindow(L"#32770", L"Notice", kWait);
    ASSERT_NE(notice, nullptr) << "Ctrl+R asked nothing";
    ASSERT_TRUE(TaskbarCaughtUp());
    EXPECT_TRUE(TaskbarWindowsOf(app->ProcessId()).empty()) << "the Notice box has a taskbar button";
    PostMessageW(GetDlgItem(notice, IDCANCEL), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(notice) || !IsWindowVisible(notice); }, kWait));

    // Options' "Success" box blocks every window of Snapora until answered.
    HWND options = OpenOptions();
    ASSERT_NE(options, nullptr) << "the Options window did not open";
    ClickOptions(options, OptionsCommand::Save);
    HWND success = app->WaitForWindow(L"#32770", L"Success", kWait);
    ASSERT_NE(success, nullptr) << "the settings were not saved";
    EXPECT_FALSE(IsWindowEnabled(main));
    ASSERT_TRUE(TaskbarCaughtUp());
    EXPECT_TRUE(TaskbarWindowsOf(app->ProcessId()).empty()) << "the Success box has a taskbar button";

    // Another program comes over the box; a click on the blocked main
    // window brings the box back to the front.
    RECT box = support::WindowRectOf(success);
    SetWindowPos(target.Window(), HWND_TOP, box.left - 20, box.top - 20, box.right - box.left + 40,
                 box.bottom - box.top + 40, SWP_SHOWWINDOW);
    Click(Centre(target.Window()));
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == target.Window(); }, kWait));
    const std::optional<POINT> onMain = UncoveredPoint(main, {options, target.Window()});
    ASSERT_TRUE(onMain.has_value()) << "the main window is covered everywhere";
    Click(*onMain);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == success; }, kWait))
        << "the box stayed behind the other program";
    ASSERT_TRUE(PressOk(success));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(main) != FALSE; }, kWait));
    EXPECT_TRUE(TaskbarWindowsOf(app->ProcessId()).empty());
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}
