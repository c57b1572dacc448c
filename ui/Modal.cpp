#include "ui/Modal.h"

#include "ui/Application.h"

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

void RunModalWindow(HWND window, const std::function<bool()>& closed, const std::function<void()>& afterShown) {
    const HWND previous = GetActiveWindow();
    {
        ModalScope scope(window);
        App().AddDialogWindow(window);
        ShowWindow(window, SW_SHOW);
        SetForegroundWindow(window);
        if (afterShown) afterShown();
        App().RunModalLoop([&] { return closed() || !IsWindowVisible(window); });
        App().RemoveDialogWindow(window);
        scope.End();
        ShowWindow(window, SW_HIDE);
    }
    if (previous && previous != window && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
}

} // namespace ui
