// The interface of hook.dll: system-wide keyboard and mouse hooks that the main
// window polls. The library records two flags, "capture key pressed" and "mouse
// button pressed"; it never calls back.
#pragma once

#include <windows.h>

#ifdef SNAPORA_HOOK_BUILD
#define SNAPORA_HOOK_API extern "C" __declspec(dllexport)
#else
#define SNAPORA_HOOK_API extern "C" __declspec(dllimport)
#endif

// The extra information that marks the key events of a capture key typed by
// the program itself. Such a D counts as the capture key whatever the state
// of Ctrl by then: another program (or the user) may release Ctrl while the
// program's own key events are still on their way.
constexpr unsigned long long kCaptureKeyTag = 0x534E4150; // "SNAP"

// From now on each press of the capture key Ctrl+D is recorded (and swallowed).
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
