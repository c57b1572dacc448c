// The interface of hook.dll: system-wide keyboard and mouse hooks. The library
// records two flags, "capture key pressed" and "mouse button pressed", which
// the program reads; it never calls back, but can post word of what it
// recorded (SetNotifyWindow). The hooks run on a thread of the library's own,
// so the calls may come from any one thread of the program.
#pragma once

#include <windows.h>

#ifdef SNAPORA_HOOK_BUILD
#define SNAPORA_HOOK_API extern "C" __declspec(dllexport)
#else
#define SNAPORA_HOOK_API extern "C" __declspec(dllimport)
#endif

// From now on each press of the capture key (Ctrl+D unless SetCaptureKey
// chose another) is recorded (and swallowed).
SNAPORA_HOOK_API void EnableHotKeyHook();
SNAPORA_HOOK_API void DisableHotKeyHook();
// True once for each recorded press of the capture key; reading clears it.
SNAPORA_HOOK_API bool GetDownHotKey();

// From now on the first button press anywhere is recorded (and swallowed with its release).
SNAPORA_HOOK_API void EnableMouseHook();
SNAPORA_HOOK_API void DisableMouseHook();
// True once a press has been recorded, until SetMouseDown(false) clears it.
SNAPORA_HOOK_API bool GetMouseDown();
SNAPORA_HOOK_API void SetMouseDown(bool down);

// An addition to the seven above: from now on the library also posts message
// to window each time it records the capture key (WPARAM 0) or a mouse press
// (WPARAM 1), so that the program can act at once rather than at its next
// poll. The flags are kept as before; a null window stops the messages.
SNAPORA_HOOK_API void SetNotifyWindow(HWND window, UINT message);

// Another addition: the capture key from now on, its modifiers as
// RegisterHotKey takes them (MOD_CONTROL, MOD_SHIFT, MOD_ALT, MOD_WIN) and its
// virtual key. The key counts only with exactly those modifiers held; a key
// of 0 leaves no capture key. Until it is called, the capture key is Ctrl+D.
SNAPORA_HOOK_API void SetCaptureKey(UINT modifiers, UINT key);
