#include "ui/FlatButton.h"

#include "ui/Handles.h"
#include "ui/Scale.h"

namespace ui {

FlatButton::FlatButton() { Cursor = LoadCursorW(nullptr, IDC_HAND); }

void FlatButton::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    Invalidate();
}

void FlatButton::ScaleContent(int fromDpi, int toDpi) { Font = RescaledFont(Font, fromDpi, toDpi); }

void FlatButton::Paint(HDC dc) {
    RECT r{0, 0, Width(), Height()};
    if (hot_ || down_) {
        const bool sunken = hot_ && down_;
        DrawEdge(dc, &r, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
        if (sunken) OffsetRect(&r, 1, 1);
    }
    ScopedSelect font(dc, Font ? static_cast<HGDIOBJ>(Font) : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, Enabled() ? TextColor : GetSysColor(COLOR_GRAYTEXT));
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &r,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void FlatButton::MouseDown(MouseButton button, ShiftState shift, POINT at) {
    ArmClick(button, shift);
    if (button == MouseButton::Left) {
        down_ = true;
        Invalidate();
    }
    Control::MouseDown(button, shift, at);
}

void FlatButton::MouseUp(MouseButton button, ShiftState shift, POINT at) {
    if (button == MouseButton::Left) {
        down_ = false;
        Invalidate();
    }
    const bool click = TakeClick(button, at);
    Control::MouseUp(button, shift, at);
    if (click && OnClick) OnClick(*this);
}

void FlatButton::MouseEnter() {
    hot_ = true;
    Invalidate();
    Control::MouseEnter();
}

void FlatButton::MouseLeave() {
    hot_ = false;
    Invalidate();
    Control::MouseLeave();
}

} // namespace ui
