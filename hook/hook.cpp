// hook.dll: low-level keyboard and mouse hooks.
//
// Low-level hooks run in the context of the thread that installed them, through
// that thread's message loop, so the flags below are only ever touched by the
// program's GUI thread: no locking is needed. Injected input (keybd_event,
// SendInput) passes through low-level hooks exactly like typed input, which is
// what lets tests drive the program as a user would.
#define SNAPORA_HOOK_BUILD
#include "hook/hook.h"

#include <windows.h>

namespace {

HINSTANCE g_module = nullptr;

HHOOK g_keyboardHook = nullptr;
bool g_hotKeyDown = false;
// The capture key: its modifiers (MOD_CONTROL, MOD_SHIFT, MOD_ALT, MOD_WIN)
// and its virtual key; a key of 0 is no capture key at all.
UINT g_captureModifiers = MOD_CONTROL;
UINT g_captureKey = 'D';
// Set while the key of a recorded capture key is held, so that its key-up
// (and the auto-repeats) are swallowed too.
bool g_swallowingKey = false;

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

// The modifiers as this hook saw them go down and up (MOD_* flags). The
// async key state alone is not enough: the program's own thread may not see
// it updated for a key whose messages it has not taken from its queue yet
// (Wine, when the program has the keyboard focus).
UINT g_modifiersSeen = 0;

UINT ModifierOf(DWORD vk) {
    switch (vk) {
    case VK_CONTROL:
    case VK_LCONTROL:
    case VK_RCONTROL:
        return MOD_CONTROL;
    case VK_SHIFT:
    case VK_LSHIFT:
    case VK_RSHIFT:
        return MOD_SHIFT;
    case VK_MENU:
    case VK_LMENU:
    case VK_RMENU:
        return MOD_ALT;
    case VK_LWIN:
    case VK_RWIN:
        return MOD_WIN;
    default:
        return 0;
    }
}

bool KeyHeld(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

UINT ModifiersHeld() {
    UINT held = g_modifiersSeen;
    if (KeyHeld(VK_CONTROL)) held |= MOD_CONTROL;
    if (KeyHeld(VK_SHIFT)) held |= MOD_SHIFT;
    if (KeyHeld(VK_MENU)) held |= MOD_ALT;
    if (KeyHeld(VK_LWIN) || KeyHeld(VK_RWIN)) held |= MOD_WIN;
    return held;
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) noexcept {
    if (code == HC_ACTION) {
        const auto* info = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam);
        const bool down = wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN;
        if (const UINT modifier = ModifierOf(info->vkCode); modifier != 0) {
            if (down)
                g_modifiersSeen |= modifier;
            else
                g_modifiersSeen &= ~modifier;
        }
        if (g_captureKey != 0 && info->vkCode == g_captureKey) {
            // Exactly the modifiers of the capture key: Ctrl+Shift+D is not Ctrl+D.
            if (down && !g_swallowingKey && ModifiersHeld() == g_captureModifiers) {
                g_hotKeyDown = true;
                g_swallowingKey = true;
                Notify(0);
            }
            if (g_swallowingKey) {
                if (!down) g_swallowingKey = false;
                // The capture key is the program's: the application under it
                // must not receive it as well.
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
    g_swallowingKey = false;
    // Releases go unseen from here on; a stale "held" must not outlive the hook.
    g_modifiersSeen = 0;
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

void SetCaptureKey(UINT modifiers, UINT key) {
    g_captureModifiers = modifiers & (MOD_CONTROL | MOD_SHIFT | MOD_ALT | MOD_WIN);
    g_captureKey = key;
    // A key held under the old capture key is not swallowed by the new one.
    g_swallowingKey = false;
}

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
