// A windowless button that draws a PNG picture with its alpha
// channel and an optional caption, in one of four arrangements and one of
// three frame styles, with pressed, hovered and disabled looks.
#pragma once

#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/Scale.h"
#include "imaging/PngImage.h"

#include <functional>
#include <string>
#include <utility>

namespace controls {

struct PngButtonPlacement {
    POINT Picture;
    POINT Caption;
};

// Makes the disabled look of a picture: a copy with an alpha channel whose
// bytes are divided by 3; a palette picture stays fully opaque.
imaging::PngImage MakeDisabledImage(const imaging::PngImage& normal);

class PngButton : public ui::Control {
public:
    // Where the picture stands relative to the caption.
    enum class ContentLayout { ImageAbove, ImageBelow, ImageLeft, ImageRight };
    // A raised 3-D frame, a frame only while hovered or pressed, or none.
    enum class FrameStyle { Raised, Flat, NoFrame };
    enum class State { Up, Down, Disabled };

    PngButton();

    // The caption font: face, character height in pixels, colour.
    void SetFont(const std::wstring& face, int pixelHeight, COLORREF color, BYTE charset = DEFAULT_CHARSET);
    HFONT Font() const { return font_.Get(); }
    COLORREF FontColor() const { return fontColor_; }

    ContentLayout ButtonLayout() const { return layout_; }
    void SetButtonLayout(ContentLayout layout);
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    const imaging::PngImage& ImageNormal() const { return imageNormal_; }
    void SetImageNormal(const imaging::PngImage& image);
    const imaging::PngImage& ImageDown() const { return imageDown_; }
    void SetImageDown(const imaging::PngImage& image);
    const imaging::PngImage& ImageOver() const { return imageOver_; }
    void SetImageOver(const imaging::PngImage& image);
    const imaging::PngImage& DisabledImage() const { return disabledImage_; }
    FrameStyle ButtonStyle() const { return style_; }
    void SetButtonStyle(FrameStyle style);
    void SetEnabled(bool enabled) override;
    // The caption font and the pictures, drawn up for 96 DPI, follow the DPI.
    void ScaleContent(int fromDpi, int toDpi) override;
    // Gives the normal picture drawn for the artwork scale nearest to a DPI,
    // with the DPI it is drawn for; null keeps the picture as it is, scaled.
    std::function<std::pair<imaging::PngImage, int>(int dpi)> PictureAtDpi;
    // The size a picture of the button is drawn at, scaled from the DPI it
    // is drawn for to the host's.
    SIZE ShownSize(const imaging::PngImage& picture) const {
        return {ui::Rescale(picture.Width(), pictureDpi_, dpi_), ui::Rescale(picture.Height(), pictureDpi_, dpi_)};
    }

    std::wstring Hint;
    bool ShowHint = false;
    bool ParentShowHint = true;

    ui::NotifyHandler OnClick;
    ui::NotifyHandler OnDblClick;
    ui::NotifyHandler OnMouseExit;

    State CurrentState() const { return state_; }
    bool MouseInside() const { return mouseInside_; }

    void Paint(HDC dc) override;
    void MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseMove(ui::ShiftState shift, POINT at) override;
    void MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    void Click();
    void SetState(State state);
    void SetMouseInside(bool inside);
    // Repaints the button and its parent's surface beneath it now.
    void RepaintNow();

    ui::UniqueFont font_;
    COLORREF fontColor_ = RGB(0, 0, 0);
    ContentLayout layout_ = ContentLayout::ImageAbove;
    std::wstring caption_;
    imaging::PngImage imageNormal_;
    imaging::PngImage imageDown_;
    imaging::PngImage imageOver_;
    imaging::PngImage disabledImage_;
    FrameStyle style_ = FrameStyle::Raised;
    State state_ = State::Up;
    bool mouseInside_ = false;
    int dpi_ = ui::kDesignDpi;
    // The DPI the pictures are drawn for.
    int pictureDpi_ = ui::kDesignDpi;
};

// Where the picture and the caption go in a button; sizes of 0 stand for an
// empty picture or no caption.
PngButtonPlacement PlacePngButtonContent(PngButton::ContentLayout layout, int width, int height, SIZE picture,
                                         SIZE caption, bool hasCaption, bool pressed);

} // namespace controls
