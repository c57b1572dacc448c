#include "controls/BitmapButton.h"

namespace controls {

void BitmapButton::SetNormalPicture(const ui::Bitmap& picture) {
    normal_.Assign(picture);
    SetPicture(normal_);
}

void BitmapButton::MouseEnter() {
    mouseIn_ = true;
    SetPicture(pressedDown_ ? pressed_ : hover_);
    Image::MouseEnter();
}

void BitmapButton::MouseLeave() {
    mouseIn_ = false;
    SetPicture(normal_);
    Image::MouseLeave();
}

void BitmapButton::MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // The host has captured the mouse; a left press arms a click.
    ArmClick(button, shift);
    if (button == ui::MouseButton::Left) {
        pressedDown_ = true;
        if (mouseIn_) SetPicture(pressed_);
    }
    Image::MouseDown(button, shift, at);
}

void BitmapButton::MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // A release inside fires the click while the pressed picture is still shown.
    if (TakeClick(button, at) && OnClick) OnClick(*this);
    if (button == ui::MouseButton::Left) {
        pressedDown_ = false;
        if (mouseIn_) SetPicture(hover_);
    }
    Image::MouseUp(button, shift, at);
}

} // namespace controls
