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
        if ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == 'Q') ++qKeys;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    static inline int downs = 0;
    static inline int dKeys = 0;
    static inline int qKeys = 0;

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
        downs = dKeys = qKeys = 0;
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

TEST(HookLibrary, TheCaptureKeyIsTheOneSetWithExactlyItsModifiersAndCanBeNone) {
    ClickCounter window;
    EnableHotKeyHook();
    GetDownHotKey();
    SetCaptureKey(MOD_CONTROL, 'Q');
    // Neither Ctrl+D nor Ctrl+Alt+Q is Ctrl+Q: both pass.
    TypeCaptureKey();
    PressKeys({VK_CONTROL, VK_MENU, 'Q'});
    EXPECT_TRUE(WaitUntil([] { return ClickCounter::dKeys == 1 && ClickCounter::qKeys == 1; }));
    EXPECT_FALSE(GetDownHotKey()) << "Ctrl+D or Ctrl+Alt+Q counted as Ctrl+Q";

    PressKeys({VK_CONTROL, 'Q'});
    EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); })) << "Ctrl+Q";
    Pause(300);
    EXPECT_EQ(ClickCounter::qKeys, 1) << "the capture key reached the focused window";

    // A key with Alt, and one without modifiers.
    SetCaptureKey(MOD_ALT, VK_SNAPSHOT);
    PressKeys({VK_MENU, VK_SNAPSHOT});
    EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); })) << "Alt+PrintScreen";
    SetCaptureKey(0, VK_SNAPSHOT);
    PressKeys({VK_SNAPSHOT});
    EXPECT_TRUE(WaitUntil([] { return GetDownHotKey(); })) << "PrintScreen";

    // No capture key: nothing counts, and everything passes.
    SetCaptureKey(0, 0);
    TypeCaptureKey();
    EXPECT_TRUE(WaitUntil([] { return ClickCounter::dKeys == 2; }));
    EXPECT_FALSE(GetDownHotKey());

    SetCaptureKey(MOD_CONTROL, 'D');
    DisableHotKeyHook();
}
