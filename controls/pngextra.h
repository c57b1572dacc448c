// TPNGButton: a windowless button that draws a PNG picture with its alpha
// channel and an optional caption, in one of four arrangements and one of
// three frame styles, with pressed, hovered and disabled looks.
#pragma once

#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/PngImage.h"

#include <string>

enum TPNGButtonLayout { pbsImageAbove, pbsImageBellow, pbsImageLeft, pbsImageRight };
enum TPNGButtonStyle { pbsDefault, pbsFlat, pbsNoFrame };
enum class ButtonState { Up, Down, Disabled };

// Where the picture and the caption go in a button; sizes of 0 stand for an
// empty picture or no caption.
struct PNGButtonPlacement {
    POINT Picture;
    POINT Caption;
};
PNGButtonPlacement PlacePNGButtonContent(TPNGButtonLayout layout, int width, int height, SIZE picture, SIZE caption,
                                         bool hasCaption, bool pressed);

// Makes the disabled look of a picture: a copy with an alpha channel whose
// bytes are divided by 3; a palette picture stays fully opaque.
ui::PngImage MakeDisabledImage(const ui::PngImage& normal);

class TPNGButton : public ui::Control {
public:
    TPNGButton();

    // The caption font: face, character height in pixels, colour.
    void SetFont(const std::wstring& face, int pixelHeight, COLORREF color, BYTE charset = DEFAULT_CHARSET);
    HFONT Font() const { return font_.Get(); }
    COLORREF FontColor() const { return fontColor_; }

    TPNGButtonLayout ButtonLayout() const { return layout_; }
    void SetButtonLayout(TPNGButtonLayout layout);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    const ui::PngImage& ImageNormal() const { return imageNormal_; }
    void SetImageNormal(const ui::PngImage& image);
    const ui::PngImage& ImageDown() const { return imageDown_; }
    void SetImageDown(const ui::PngImage& image);
    const ui::PngImage& ImageOver() const { return imageOver_; }
    void SetImageOver(const ui::PngImage& image);
    const ui::PngImage& DisabledImage() const { return disabledImage_; }
    TPNGButtonStyle ButtonStyle() const { return style_; }
    void SetButtonStyle(TPNGButtonStyle style);
    void SetEnabled(bool enabled) override;

    std::wstring Hint;
    bool ShowHint = false;
    bool ParentShowHint = true;

    ui::NotifyHandler OnClick;
    ui::NotifyHandler OnDblClick;
    ui::NotifyHandler OnMouseExit;

    ButtonState State() const { return state_; }
    bool MouseInside() const { return mouseInside_; }

    void Paint(HDC dc) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseMove(ui::ShiftState shift, POINT at) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void Click();
    void SetState(ButtonState state);
    void SetMouseInside(bool inside);
    // Repaints the button and its parent's surface beneath it now.
    void RepaintNow();

    ui::UniqueFont font_;
    COLORREF fontColor_ = RGB(0, 0, 0);
    TPNGButtonLayout layout_ = pbsImageAbove;
    std::wstring caption_;
    ui::PngImage imageNormal_;
    ui::PngImage imageDown_;
    ui::PngImage imageOver_;
    ui::PngImage disabledImage_;
    TPNGButtonStyle style_ = pbsDefault;
    ButtonState state_ = ButtonState::Up;
    bool mouseInside_ = false;
};
