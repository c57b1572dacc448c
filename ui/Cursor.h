// The mouse cursor's position.
#pragma once

#include <windows.h>

namespace ui {

// Where the cursor is now, in screen coordinates ((0, 0) when the system
// cannot tell, as on a locked desktop).
inline POINT CursorPosition() {
    POINT at{0, 0};
    GetCursorPos(&at);
    return at;
}

} // namespace ui
