// hook.dll seen from the program: injected input must reach the low-level
// hooks and set the flags the main window polls.
#include "hook/hook.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <initializer_list>

namespace {

// Low-level hooks are called through the installing thread's message loop, so
// the test pumps messages while it waits.
void PumpFor(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        ui::App().ProcessMessages();
        Sleep(10);
    }
}

// Presses the modifiers, types the key, and lets go of the modifiers.
void Type(std::initializer_list<BYTE> modifiers, BYTE key) {
    for (BYTE modifier : modifiers)
        keybd_event(modifier, 0, 0, 0);
    keybd_event(key, 0, 0, 0);
    keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    for (BYTE modifier : modifiers)
        keybd_event(modifier, 0, KEYEVENTF_KEYUP, 0);
}

void TypeCtrlD() { Type({VK_CONTROL}, 'D'); }

void Click(int x, int y) {
    SetCursorPos(x, y);
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

// A window that counts the clicks it receives, to see what the hook swallows.
struct ClickCounter {
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_LBUTTONDOWN) ++downs;
        if (message == WM_KEYDOWN && wParam == 'D') ++dKeys;
        if (message == WM_KEYDOWN && wParam == 'Q') ++qKeys;
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
        PumpFor(200);
        downs = dKeys = qKeys = 0;
    }
    ~ClickCounter() { DestroyWindow(hwnd); }
    HWND hwnd;
};

} // namespace

TEST(HookLibrary, CaptureKeyIsRecordedOnceAndSwallowed) {
    ClickCounter window;
    EnableHotKeyHook();
    GetDownHotKey(); // start from a clear flag
    TypeCtrlD();
    PumpFor(300);
    EXPECT_TRUE(GetDownHotKey());
    EXPECT_FALSE(GetDownHotKey()) << "one press is reported once";
    EXPECT_EQ(ClickCounter::dKeys, 0) << "the capture key reached the focused window";

    // Plain D, without Ctrl, is not the capture key and passes through.
    keybd_event('D', 0, 0, 0);
    keybd_event('D', 0, KEYEVENTF_KEYUP, 0);
    PumpFor(300);
    EXPECT_FALSE(GetDownHotKey());
    EXPECT_EQ(ClickCounter::dKeys, 1);

    DisableHotKeyHook();
    TypeCtrlD();
    PumpFor(300);
    EXPECT_FALSE(GetDownHotKey()) << "a disabled hook recorded the key";
}

TEST(HookLibrary, MouseHookRecordsTheFirstPressAndSwallowsIt) {
    ClickCounter window;
    SetMouseDown(false);
    EnableMouseHook();
    Click(150, 150);
    PumpFor(300);
    EXPECT_TRUE(GetMouseDown());
    EXPECT_TRUE(GetMouseDown()) << "reading must not clear the mouse flag";
    EXPECT_EQ(ClickCounter::downs, 0) << "the recorded click reached the window under it";

    SetMouseDown(false);
    EXPECT_FALSE(GetMouseDown());
    DisableMouseHook();

    Click(150, 150);
    PumpFor(300);
    EXPECT_FALSE(GetMouseDown()) << "a disabled hook recorded the click";
    EXPECT_EQ(ClickCounter::downs, 1);
}

TEST(HookLibrary, ACtrlReleasedWhileUnhookedDoesNotMakeALaterDTheCaptureKey) {
    ClickCounter window;
    EnableHotKeyHook();
    keybd_event(VK_CONTROL, 0, 0, 0);
    PumpFor(100);
    DisableHotKeyHook();
    keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
    PumpFor(100);
    EnableHotKeyHook();
    GetDownHotKey();
    keybd_event('D', 0, 0, 0);
    keybd_event('D', 0, KEYEVENTF_KEYUP, 0);
    PumpFor(300);
    EXPECT_FALSE(GetDownHotKey()) << "a plain D counted as Ctrl+D";
    EXPECT_EQ(ClickCounter::dKeys, 1);
    DisableHotKeyHook();
}

TEST(HookLibrary, TheCaptureKeyIsTheOneSetWithExactlyItsModifiersAndCanBeNone) {
    ClickCounter window;
    EnableHotKeyHook();
    GetDownHotKey();
    SetCaptureKey(MOD_CONTROL, 'Q');
    TypeCtrlD();
    Type({VK_CONTROL, VK_MENU}, 'Q');
    PumpFor(300);
    EXPECT_FALSE(GetDownHotKey()) << "Ctrl+D or Ctrl+Alt+Q counted as Ctrl+Q";
    EXPECT_EQ(ClickCounter::dKeys, 1) << "Ctrl+D no longer reaches the window under it";
    EXPECT_EQ(ClickCounter::qKeys, 1);

    Type({VK_CONTROL}, 'Q');
    PumpFor(300);
    EXPECT_TRUE(GetDownHotKey());
    EXPECT_EQ(ClickCounter::qKeys, 1) << "the capture key reached the focused window";

    // A key with Alt, and one without modifiers.
    SetCaptureKey(MOD_ALT, VK_SNAPSHOT);
    Type({VK_MENU}, VK_SNAPSHOT);
    PumpFor(300);
    EXPECT_TRUE(GetDownHotKey()) << "Alt+PrintScreen";
    SetCaptureKey(0, VK_SNAPSHOT);
    Type({}, VK_SNAPSHOT);
    PumpFor(300);
    EXPECT_TRUE(GetDownHotKey()) << "PrintScreen";

    // No capture key: nothing counts, and everything passes.
    SetCaptureKey(0, 0);
    TypeCtrlD();
    PumpFor(300);
    EXPECT_FALSE(GetDownHotKey());
    EXPECT_EQ(ClickCounter::dKeys, 2);

    SetCaptureKey(MOD_CONTROL, 'D');
    DisableHotKeyHook();
}
