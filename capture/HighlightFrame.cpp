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
    // The frame follows the mouse many times a second: a new region only
    // when the frame really moved or changed its size.
    const bool same = EqualRect(&frame.bounds, &placed_.bounds) && EqualRect(&frame.ringOuter, &placed_.ringOuter) &&
                      EqualRect(&frame.ringInner, &placed_.ringInner);
    if (!same || !Visible()) ApplyHighlightFrame(Handle(), frame);
    placed_ = frame;
    if (!Visible()) ShowWindow(Handle(), SW_SHOWNOACTIVATE);
}

int HighlightFrame::LineWidth() const { return ui::Scale(ui::WindowDpi(Handle())).Px(kFrameLineWidth); }

LRESULT HighlightFrame::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace capture
