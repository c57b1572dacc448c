#include "ui/Control.h"

#include "ui/HostWindow.h"

namespace ui {

ShiftState ShiftState::FromMouseKeys(WPARAM keys) {
    ShiftState s;
    s.shift = (keys & MK_SHIFT) != 0;
    s.ctrl = (keys & MK_CONTROL) != 0;
    s.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    s.left = (keys & MK_LBUTTON) != 0;
    s.right = (keys & MK_RBUTTON) != 0;
    s.middle = (keys & MK_MBUTTON) != 0;
    return s;
}

ShiftState ShiftState::Current() {
    ShiftState s;
    s.shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    s.ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    s.alt = (GetKeyState(VK_MENU) & 0x8000) != 0;
    s.left = (GetKeyState(VK_LBUTTON) & 0x8000) != 0;
    s.right = (GetKeyState(VK_RBUTTON) & 0x8000) != 0;
    s.middle = (GetKeyState(VK_MBUTTON) & 0x8000) != 0;
    return s;
}

Control::~Control() {
    if (parent_) parent_->RemoveControl(*this);
}

void Control::SetBounds(int left, int top, int width, int height) {
    const RECT bounds{left, top, left + width, top + height};
    if (EqualRect(&bounds, &bounds_)) return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    Resized();
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    if (parent_) parent_->Invalidate(&bounds_);
}

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
}

void Control::Invalidate() const {
    if (parent_ && visible_) parent_->Invalidate(&bounds_);
}

void Control::BringToFront() {
    if (parent_) parent_->BringControlToFront(*this);
}

void Control::MouseDown(MouseButton button, ShiftState shift, POINT at) {
    if (OnMouseDown) OnMouseDown(*this, button, shift, at);
}

void Control::MouseMove(ShiftState shift, POINT at) {
    if (OnMouseMove) OnMouseMove(*this, shift, at);
}

void Control::MouseUp(MouseButton button, ShiftState shift, POINT at) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, at);
}

void Control::MouseEnter() {
    if (OnMouseEnter) OnMouseEnter(*this);
}

void Control::MouseLeave() {
    if (OnMouseLeave) OnMouseLeave(*this);
}

} // namespace ui
