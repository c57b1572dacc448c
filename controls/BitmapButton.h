// A picture control that swaps among three pictures: normal, hovered and
// pressed. The skinned title-bar buttons of the main window are these.
#pragma once

#include "ui/Image.h"

namespace controls {

class BitmapButton : public ui::Image {
public:
    const ui::Bitmap& NormalPicture() const { return normal_; }
    const ui::Bitmap& PressedPicture() const { return pressed_; }
    const ui::Bitmap& HoverPicture() const { return hover_; }
    // Keeps a copy as the normal picture and shows it at once.
    void SetNormalPicture(const ui::Bitmap& picture);
    // Keep a copy only.
    void SetPressedPicture(const ui::Bitmap& picture) { pressed_.Assign(picture); }
    void SetHoverPicture(const ui::Bitmap& picture) { hover_.Assign(picture); }

    ui::NotifyHandler OnClick;

    bool MouseIn() const { return mouseIn_; }
    bool Pressed() const { return pressedDown_; }

    void MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    ui::Bitmap normal_;
    ui::Bitmap pressed_;
    ui::Bitmap hover_;
    bool mouseIn_ = false;
    bool pressedDown_ = false;
};

} // namespace controls
