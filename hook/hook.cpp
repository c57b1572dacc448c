// hook.dll: low-level keyboard and mouse hooks.
//
// Low-level hooks run in the context of the thread that installed them,
// through that thread's message loop, and every key press and mouse move of
// the whole system waits for them. So they live on a thread of the library's
// own that does nothing else: were they on the program's GUI thread, a busy
// moment there (a periodic capture's step) would delay every key of every
// program. The program's calls reach that thread through a message-only
// window and wait until it has acted, so that "from now on" holds when they
// return; the flags they share with it are atomic. Injected input
// (keybd_event, SendInput) passes through low-level hooks exactly like typed
// input, which is what lets tests drive the program as a user would.
#define SNAPORA_HOOK_BUILD
#include "hook/hook.h"

#include <windows.h>

#include <atomic>

namespace {

HINSTANCE g_module = nullptr;

// Only the hook thread touches the hooks and what only the hooks use.
HHOOK g_keyboardHook = nullptr;
std::atomic<bool> g_hotKeyDown = false;
// The capture key: its modifiers (MOD_CONTROL, MOD_SHIFT, MOD_ALT, MOD_WIN)
// and its virtual key; a key of 0 is no capture key at all.
std::atomic<UINT> g_captureModifiers = MOD_CONTROL;
std::atomic<UINT> g_captureKey = 'D';
// Set while the key of a recorded capture key is held, so that its key-up
// (and the auto-repeats) are swallowed too.
std::atomic<bool> g_swallowingKey = false;

// Where the library announces what it recorded; null for nobody.
std::atomic<HWND> g_notifyWindow = nullptr;
std::atomic<UINT> g_notifyMessage = 0;

void Notify(WPARAM what) {
    if (HWND window = g_notifyWindow) PostMessageW(window, g_notifyMessage, what, 0);
}

HHOOK g_mouseHook = nullptr;
std::atomic<bool> g_mouseDown = false;
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
        const UINT captureKey = g_captureKey;
        if (captureKey != 0 && info->vkCode == captureKey) {
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

// What the program's calls ask of the hook thread.
enum HookRequest : UINT {
    kInstallKeyboardHook = WM_APP + 1,
    kRemoveKeyboardHook,
    kInstallMouseHook,
    kRemoveMouseHook,
};

LRESULT CALLBACK HookWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    switch (message) {
    case kInstallKeyboardHook:
        if (!g_keyboardHook) g_keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
        return 0;
    case kRemoveKeyboardHook:
        Unhook(g_keyboardHook);
        g_swallowingKey = false;
        // Releases go unseen from here on; a stale "held" must not outlive the hook.
        g_modifiersSeen = 0;
        return 0;
    case kInstallMouseHook:
        if (!g_mouseHook) g_mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, g_module, 0);
        return 0;
    case kRemoveMouseHook:
        Unhook(g_mouseHook);
        g_swallowUp = 0;
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The hook thread's window, created with the thread on first use.
HWND g_hookWindow = nullptr;

DWORD WINAPI HookThread(LPVOID ready) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = HookWindowProc;
    wc.hInstance = g_module;
    wc.lpszClassName = L"SnaporaHookThread";
    RegisterClassW(&wc);
    g_hookWindow = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, g_module, nullptr);
    SetEvent(static_cast<HANDLE>(ready));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    return 0;
}

// Runs a request on the hook thread and returns once it is done. Should the
// thread not start, the hooks run on the caller's thread, as they would in
// a library without a thread of its own.
void OnHookThread(HookRequest request) {
    static const HWND window = [] {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        // The thread runs the library's code for the rest of the process's
        // life, so the library stays loaded that long.
        HMODULE pinned = nullptr;
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                           reinterpret_cast<LPCWSTR>(&HookThread), &pinned);
        HANDLE thread = ready ? CreateThread(nullptr, 0, HookThread, ready, 0, nullptr) : nullptr;
        if (thread) {
            WaitForSingleObject(ready, INFINITE);
            CloseHandle(thread);
        }
        if (ready) CloseHandle(ready);
        return g_hookWindow;
    }();
    if (window)
        SendMessageW(window, request, 0, 0);
    else
        HookWindowProc(nullptr, request, 0, 0);
}

} // namespace

void EnableHotKeyHook() { OnHookThread(kInstallKeyboardHook); }

void DisableHotKeyHook() { OnHookThread(kRemoveKeyboardHook); }

bool GetDownHotKey() { return g_hotKeyDown.exchange(false); }

void EnableMouseHook() { OnHookThread(kInstallMouseHook); }

void DisableMouseHook() { OnHookThread(kRemoveMouseHook); }

bool GetMouseDown() { return g_mouseDown; }

void SetMouseDown(bool down) { g_mouseDown = down; }

void SetCaptureKey(UINT modifiers, UINT key) {
    g_captureModifiers = modifiers & (MOD_CONTROL | MOD_SHIFT | MOD_ALT | MOD_WIN);
    g_captureKey = key;
    // A key held under the old capture key is not swallowed by the new one.
    g_swallowingKey = false;
}

void SetNotifyWindow(HWND window, UINT message) {
    g_notifyMessage = message;
    g_notifyWindow = window;
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
