// TImgBtn: a picture control that swaps among three pictures: normal (Pic),
// hovered (PicUp) and pressed (PicDown). Used for the skinned title-bar
// buttons.
#pragma once

#include "ui/Image.h"

#include <functional>

// The notifications sent for the cursor entering and leaving a control.
constexpr UINT CM_MOUSEENTER = 0xB013;
constexpr UINT CM_MOUSELEAVE = 0xB014;

// A mouse message record: the message, the key flags and the position in
// the control's coordinates. Enter and leave records carry no position.
struct TWMMouse {
    UINT Msg = 0;
    WPARAM Keys = 0;
    int XPos = 0;
    int YPos = 0;
};

using TOnMouseEvent = std::function<void(TWMMouse& Msg)>;

class TImgBtn : public ui::Image {
public:
    const ui::Bitmap& Pic() const { return pic_; }
    const ui::Bitmap& PicDown() const { return picDown_; }
    const ui::Bitmap& PicUp() const { return picUp_; }
    // Keeps a copy as the normal picture and shows it at once.
    void SetPic(const ui::Bitmap& picture);
    // Keep a copy only.
    void SetPicDown(const ui::Bitmap& picture) { picDown_.Assign(picture); }
    void SetPicUp(const ui::Bitmap& picture) { picUp_.Assign(picture); }

    // These take the place of the picture control's mouse events of the same names.
    TOnMouseEvent OnMouseDown;
    TOnMouseEvent OnMouseEnter;
    TOnMouseEvent OnMouseLeave;
    TOnMouseEvent OnMouseUp;
    // When false, the button is a plain picture: no swapping, no events but OnClick.
    bool Supported = true;
    ui::NotifyHandler OnClick;

    bool MouseIn() const { return mouseIn_; }
    bool Pressed() const { return pressed_; }

    void MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    ui::Bitmap pic_;
    ui::Bitmap picDown_;
    ui::Bitmap picUp_;
    bool mouseIn_ = false;
    bool pressed_ = false;
};
