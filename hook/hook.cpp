// hook.dll: low-level keyboard and mouse hooks.
//
// Low-level hooks run in the context of the thread that installed them, through
// that thread's message loop, so the flags below are only ever touched by the
// program's GUI thread: no locking is needed. Injected input (keybd_event,
// SendInput) passes through low-level hooks exactly like typed input, which is
// what lets the program trigger a capture by synthesizing the capture key.
#define SNAPORA_HOOK_BUILD
#include "hook/hook.h"

#include <windows.h>

namespace {

HINSTANCE g_module = nullptr;

HHOOK g_keyboardHook = nullptr;
bool g_hotKeyDown = false;
// Set while the D of a recorded Ctrl+D is held, so that its key-up (and the
// auto-repeats) are swallowed too.
bool g_swallowingD = false;

// Where the library announces what it recorded; null for nobody.
HWND g_notifyWindow = nullptr;
UINT g_notifyMessage = 0;

void Notify(WPARAM what) {
    if (g_notifyWindow) PostMessageW(g_notifyWindow, g_notifyMessage, what, 0);
}

HHOOK g_mouseHook = nullptr;
bool g_mouseDown = false;
// The button-up message that belongs to the press we swallowed; 0 when none.
WPARAM g_swallowUp = 0;

// Ctrl and Alt as this hook saw them go down and up. The async key state
// alone is not enough: the program's own thread may not see it updated for a
// key whose messages it has not taken from its queue yet (Wine, when the
// program has the keyboard focus).
bool g_ctrlSeen = false;
bool g_altSeen = false;

bool IsCtrlHeld() { return g_ctrlSeen || (GetAsyncKeyState(VK_CONTROL) & 0x8000) != 0; }

bool IsAltHeld() { return g_altSeen || (GetAsyncKeyState(VK_MENU) & 0x8000) != 0; }

void TrackModifier(DWORD vk, bool down) {
    switch (vk) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        g_ctrlSeen = down;
        break;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        g_altSeen = down;
        break;
    default:
        break;
    }
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        TrackModifier(info->vkCode, down);
        if (info->vkCode == 'D') {
            const bool typedByProgram = info->dwExtraInfo == kCaptureKeyTag;
            if (down && !g_swallowingD && (typedByProgram || (IsCtrlHeld() && !IsAltHeld()))) {
                g_hotKeyDown = true;
                g_swallowingD = true;
                Notify(0);
            }
            if (g_swallowingD) {
                if (!down) g_swallowingD = false;
                // The capture key is an internal signal: the application under
                // it must not receive a stray Ctrl+D with every capture.
                return 1;
            }
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

WPARAM UpMessageFor(WPARAM down) {
    switch (down) {
    case WM_LBUTTONDOWN:
        return WM_LBUTTONUP;
    case WM_RBUTTONDOWN:
        return WM_RBUTTONUP;
    case WM_MBUTTONDOWN:
        return WM_MBUTTONUP;
    case WM_XBUTTONDOWN:
        return WM_XBUTTONUP;
    default:
        return 0;
    }
}

LRESULT CALLBACK MouseProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) {
        const WPARAM up = UpMessageFor(wParam);
        if (up != 0 && !g_mouseDown && g_swallowUp == 0) {
            // The click that ends a tracked capture must not also press a
            // button of the program under the mouse.
            g_mouseDown = true;
            g_swallowUp = up;
            Notify(1);
            return 1;
        }
        if (g_swallowUp != 0 && wParam == g_swallowUp) {
            g_swallowUp = 0;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void Unhook(HHOOK& hook) {
    if (hook) {
        UnhookWindowsHookEx(hook);
        hook = nullptr;
    }
}

} // namespace

void EnableHotKeyHook() {
    if (!g_keyboardHook) g_keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
}

void DisableHotKeyHook() {
    Unhook(g_keyboardHook);
    g_swallowingD = false;
    // Releases go unseen from here on; a stale "held" must not outlive the hook.
    g_ctrlSeen = g_altSeen = false;
}

bool GetDownHotKey() {
    const bool down = g_hotKeyDown;
    g_hotKeyDown = false;
    return down;
}

void EnableMouseHook() {
    if (!g_mouseHook) g_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
}

void DisableMouseHook() {
    Unhook(g_mouseHook);
    g_swallowUp = 0;
}

bool GetMouseDown() { return g_mouseDown; }

void SetMouseDown(bool down) { g_mouseDown = down; }

void SetNotifyWindow(HWND window, UINT message) {
    g_notifyWindow = window;
    g_notifyMessage = message;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && reserved == nullptr) {
        // A FreeLibrary while hooks are installed would leave them pointing
        // into unmapped code.
        Unhook(g_keyboardHook);
        Unhook(g_mouseHook);
    }
    return TRUE;
}
