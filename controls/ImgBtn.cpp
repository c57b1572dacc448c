#include "controls/ImgBtn.h"

namespace {

WPARAM KeysOf(ui::ShiftState shift) {
    return (shift.left ? MK_LBUTTON : 0) | (shift.right ? MK_RBUTTON : 0) | (shift.middle ? MK_MBUTTON : 0) |
           (shift.shift ? MK_SHIFT : 0) | (shift.ctrl ? MK_CONTROL : 0);
}

} // namespace

void TImgBtn::SetPic(const ui::Bitmap& picture) {
    pic_.Assign(picture);
    SetPicture(pic_);
}

void TImgBtn::MouseEnter() {
    if (!Supported) return;
    mouseIn_ = true;
    SetPicture(pressed_ ? picDown_ : picUp_);
    TWMMouse msg{.Msg = CM_MOUSEENTER};
    if (OnMouseEnter) OnMouseEnter(msg);
}

void TImgBtn::MouseLeave() {
    if (!Supported) return;
    mouseIn_ = false;
    SetPicture(pic_);
    TWMMouse msg{.Msg = CM_MOUSELEAVE};
    if (OnMouseLeave) OnMouseLeave(msg);
}

void TImgBtn::MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // The ordinary handling: the host has captured the mouse; a left press arms a click.
    ArmClick(button, shift);
    if (!Supported || button != ui::MouseButton::Left) return;
    pressed_ = true;
    if (mouseIn_) SetPicture(picDown_);
    TWMMouse msg{static_cast<UINT>(shift.doubleClick ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN), KeysOf(shift), at.x, at.y};
    if (OnMouseDown) OnMouseDown(msg);
}

void TImgBtn::MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // The ordinary handling first: a release inside fires the click while the
    // pressed picture is still shown.
    if (TakeClick(button, at) && OnClick) OnClick(*this);
    if (!Supported || button != ui::MouseButton::Left) return;
    pressed_ = false;
    if (mouseIn_) SetPicture(picUp_);
    TWMMouse msg{WM_LBUTTONUP, KeysOf(shift), at.x, at.y};
    if (OnMouseUp) OnMouseUp(msg);
}
