#include "capture/HighlightFrame.h"

#include "ui/Application.h"

namespace capture {

HighlightFrame::HighlightFrame() {
    Color = RGB(0xFA, 0x0C, 0xFA);
    // Owned by the hidden owner: no taskbar button of its own.
    CreateHost(kHighlightFrameClass, {.caption = L"",
                                      .style = WS_POPUP,
                                      .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                      .x = 378,
                                      .y = 231,
                                      .width = 218,
                                      .height = 91,
                                      .parent = ui::App().HiddenOwner()});
}

void HighlightFrame::Place(const FramePlacement& frame) {
    ApplyHighlightFrame(Handle(), frame);
    ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

void HighlightFrame::Hide() { ShowWindow(Handle(), SW_HIDE); }

bool HighlightFrame::Shown() const { return IsWindowVisible(Handle()) != FALSE; }

LRESULT HighlightFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace capture
