#include "ui/Modal.h"

#include <algorithm>

namespace ui {

ModalScope::ModalScope(HWND modal) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM list) -> BOOL {
            if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled_));
    std::erase(disabled_, modal);
    for (HWND hwnd : disabled_)
        EnableWindow(hwnd, FALSE);
}

void ModalScope::End() {
    for (HWND hwnd : disabled_)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    disabled_.clear();
}

} // namespace ui
