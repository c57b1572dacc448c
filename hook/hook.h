// The interface of hook.dll: system-wide keyboard and mouse hooks that the main
// window polls. The library records two flags, "capture key pressed" and "mouse
// button pressed"; it never calls back.
#pragma once

#ifdef SNAPORA_HOOK_BUILD
#define SNAPORA_HOOK_API extern "C" __declspec(dllexport)
#else
#define SNAPORA_HOOK_API extern "C" __declspec(dllimport)
#endif

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
