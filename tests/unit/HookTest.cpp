// hook.dll seen from the program: injected input must reach the low-level
// hooks and set the flags the main window polls.
#include "hook/hook.h"
#include "tests/support/Input.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

using namespace support;

// A window that counts the clicks it receives, to see what the hook swallows.
struct ClickCounter {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN) ++downs;
        if (message == WM_KEYDOWN && wParam == 'D') ++dKeys;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline int downs = 0;
    static inline int dKeys = 0;

    ClickCounter() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"HookTestClickCounter";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"hook test", WS_POPUP | WS_VISIBLE, 100, 100, 200, 200,
                               nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(hwnd);
        SetFocus(hwnd);
        WaitUntil([&] { return GetForegroundWindow() == hwnd; });
        downs = dKeys = 0;
    }
    ~ClickCounter() { DestroyWindow(hwnd); }
    HWND hwnd;
};

} // namespace

// Low-level hooks are called through the installing thread's message loop,
// so every wait pumps its messages. A key or click that the hooks let pass
// reaches the window, which tells when the hooks have seen it; one they
// swallow gets a moment to arrive, which a slow machine only shortens.
TEST(HookLibrary, CaptureKeyIsRecordedOnceAndSwallowed) {
    ClickCounter window;
    EnableHotKeyHook();
    GetDownHotKey(); // start from a clear flag
    TypeCaptureKey();
    EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); }));
    Pause(300);
    EXPECT_FALSE(GetDownHotKey()) << "one press is reported once";
    EXPECT_EQ(ClickCounter::dKeys, 0) << "the capture key reached the focused window";

    // Plain D, without Ctrl, is not the capture key and passes through.
    PressKeys({'D'});
    EXPECT_TRUE(WaitUntil([] { return ClickCounter::dKeys == 1; }));
    EXPECT_FALSE(GetDownHotKey());

    // The program's own capture key counts by its tag, even when Ctrl was
    // let go before its D arrived; it is swallowed too.
    keybd_event('D', 0, 0, kCaptureKeyTag);
    keybd_event('D', 0, KEYEVENTF_KEYUP, kCaptureKeyTag);
    EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); }));
    Pause(300);
    EXPECT_EQ(ClickCounter::dKeys, 1);

    DisableHotKeyHook();
    TypeCaptureKey();
    WaitUntil([] { return ClickCounter::dKeys == 2; });
    EXPECT_FALSE(GetDownHotKey()) << "a disabled hook recorded the key";
}

TEST(HookLibrary, MouseHookRecordsTheFirstPressAndSwallowsIt) {
    ClickCounter window;
    SetMouseDown(false);
    EnableMouseHook();
    Click({150, 150});
    EXPECT_TRUE(WaitUntil([] { return GetMouseDown(); }));
    EXPECT_TRUE(GetMouseDown()) << "reading must not clear the mouse flag";
    Pause(300);
    EXPECT_EQ(ClickCounter::downs, 0) << "the recorded click reached the window under it";

    SetMouseDown(false);
    EXPECT_FALSE(GetMouseDown());
    DisableMouseHook();

    Click({150, 150});
    EXPECT_TRUE(WaitUntil([] { return ClickCounter::downs == 1; }));
    EXPECT_FALSE(GetMouseDown()) << "a disabled hook recorded the click";
}

TEST(HookLibrary, ACtrlReleasedWhileUnhookedDoesNotMakeALaterDTheCaptureKey) {
    ClickCounter window;
    EnableHotKeyHook();
    SendKey(VK_CONTROL, false);
    Pause(100);
    DisableHotKeyHook();
    SendKey(VK_CONTROL, true);
    Pause(100);
    EnableHotKeyHook();
    GetDownHotKey();
    PressKeys({'D'});
    EXPECT_TRUE(WaitUntil([] { return ClickCounter::dKeys == 1; }));
    EXPECT_FALSE(GetDownHotKey()) << "a plain D counted as Ctrl+D";
    DisableHotKeyHook();
}
