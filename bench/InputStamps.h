// What the benchmark's bare window (bench_window.exe) shares with bench.exe:
// the moment its last WM_KEYDOWN and WM_MOUSEMOVE arrived, on the
// performance counter, which all processes of the machine share. The window
// sets the event after each stamp, so that bench.exe waits without polling.
#pragma once

#include <windows.h>

namespace bench {

inline constexpr wchar_t kInputStampsName[] = L"SnaporaBenchInputStamps";
inline constexpr wchar_t kInputArrivedName[] = L"SnaporaBenchInputArrived";
inline constexpr wchar_t kBareWindowClass[] = L"SnaporaBenchBareWindow";

struct InputStamps {
    LONGLONG keyDownAt;
    LONGLONG mouseMoveAt;
};

} // namespace bench
