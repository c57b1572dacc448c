#include "capture/SelectRect.h"

#include "ui/Application.h"

TFrmSelectRect* FrmSelectRect = nullptr;

TFrmSelectRect::TFrmSelectRect() {
    Color = RGB(0xFA, 0x0C, 0xFA);
    // Owned by the hidden owner: no taskbar button of its own.
    CreateHost(L"TFrmSelectRect", {.caption = L"",
                                   .style = WS_POPUP,
                                   .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                   .x = 378,
                                   .y = 231,
                                   .width = 218,
                                   .height = 91,
                                   .parent = ui::App().HiddenOwner()});
}

void TFrmSelectRect::Place(const capture::HighlightFrame& frame) {
    capture::ApplyHighlightFrame(Handle(), frame);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

LRESULT TFrmSelectRect::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return HostWindow::HandleMessage(message, wParam, lParam);
}
