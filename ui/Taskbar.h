// The program's presence on the taskbar.
#pragma once

#include <windows.h>

namespace ui {

// Takes a top-level window's button off the taskbar for good: the window is
// given the application's hidden owner window, and the taskbar lists only
// unowned windows. A shown window is hidden and shown again around the
// change, since the taskbar looks at a window's owner only when it appears.
// Does nothing for a null window.
void RemoveFromTaskbar(HWND window);

} // namespace ui
