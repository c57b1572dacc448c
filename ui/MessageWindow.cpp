#include "ui/MessageWindow.h"

namespace ui {

MessageWindow::MessageWindow() {
    CreateHandle({.name = L"SnaporaMessageWindow", .style = 0, .cursor = nullptr},
                 {.style = 0, .x = 0, .y = 0, .width = 0, .height = 0, .parent = HWND_MESSAGE});
}

LRESULT MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP && OnMessage) {
        OnMessage(message, wParam, lParam);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace ui
