#include "ui/Taskbar.h"

#include "ui/Application.h"

namespace ui {

void RemoveFromTaskbar(HWND window) {
    if (!window) return;
    const bool shown = IsWindowVisible(window) != FALSE;
    if (shown) ShowWindow(window, SW_HIDE);
    // GWLP_HWNDPARENT of a top-level window is its owner (SetParent would
    // make it a child window instead).
    SetWindowLongPtrW(window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(App().HiddenOwner()));
    if (shown) ShowWindow(window, SW_SHOWNA);
}

} // namespace ui
