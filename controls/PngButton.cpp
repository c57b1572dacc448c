#include "controls/PngButton.h"

#include "ui/HostWindow.h"
#include "ui/Resources.h"

namespace controls {

PngButtonPlacement PlacePngButtonContent(PngButton::ContentLayout layout, int width, int height, SIZE picture,
                                         SIZE caption, bool hasCaption, bool pressed) {
    const int iw = picture.cx;
    int ih = picture.cy;
    int tw = 0, th = 0;
    if (hasCaption) {
        tw = caption.cx;
        th = caption.cy;
        ih += 4; // the gap below the picture counts as part of it
    }
    const int s = pressed ? 2 : 0;
    // Integer division truncates toward zero, so a picture larger than the
    // button gets a small negative offset, as intended.
    POINT pic{(width - iw) / 2 + s, (height - ih) / 2};
    POINT cap{(width - tw) / 2 + s, (height - th) / 2};
    switch (layout) {
    case PngButton::ContentLayout::ImageAbove:
        pic.y = (height - ih - th) / 2;
        cap.y = pic.y + ih;
        break;
    case PngButton::ContentLayout::ImageBelow:
        cap.y = (height - ih - th) / 2;
        pic.y = cap.y + th;
        break;
    case PngButton::ContentLayout::ImageLeft:
        pic.x = (width - iw - tw) / 2;
        cap.x = pic.x + iw + 5;
        break;
    case PngButton::ContentLayout::ImageRight:
        cap.x = (width - iw - tw) / 2;
        pic.x = cap.x + tw + 5;
        break;
    }
    pic.y += s;
    cap.y += s;
    return {pic, cap};
}

imaging::PngImage MakeDisabledImage(const imaging::PngImage& normal) {
    imaging::PngImage disabled = normal;
    if (disabled.Empty()) return disabled;
    disabled.AddAlphaChannel();
    if (disabled.Type() == imaging::PngImage::ColorType::Palette) return disabled;
    for (int y = 0; y < disabled.Height(); ++y) {
        std::uint8_t* alpha = disabled.AlphaRow(y);
        for (int x = 0; x < disabled.Width(); ++x)
            alpha[x] = static_cast<std::uint8_t>(alpha[x] / 3);
    }
    return disabled;
}

PngButton::PngButton() { SetBounds(0, 0, 23, 23); }

void PngButton::SetFont(const std::wstring& face, int pixelHeight, COLORREF color, BYTE charset) {
    font_ = ui::CreateFontOf(face, ui::Rescale(pixelHeight, ui::kDesignDpi, dpi_), charset);
    fontColor_ = color;
    Invalidate();
}

void PngButton::SetButtonLayout(ContentLayout layout) {
    layout_ = layout;
    RepaintNow();
}

void PngButton::SetCaption(std::wstring caption) {
    caption_ = std::move(caption);
    RepaintNow();
}

void PngButton::SetImageNormal(const imaging::PngImage& image) {
    imageNormal_ = image;
    disabledImage_ = MakeDisabledImage(imageNormal_);
    RepaintNow();
}

void PngButton::SetImageDown(const imaging::PngImage& image) {
    imageDown_ = image;
    RepaintNow();
}

void PngButton::SetImageOver(const imaging::PngImage& image) {
    imageOver_ = image;
    RepaintNow();
}

void PngButton::SetButtonStyle(FrameStyle style) {
    style_ = style;
    RepaintNow();
}

void PngButton::SetEnabled(bool enabled) {
    if (enabled == Enabled()) return;
    Control::SetEnabled(enabled);
    if (!enabled) disabledImage_ = MakeDisabledImage(imageNormal_);
    SetState(enabled ? State::Up : State::Disabled);
}

void PngButton::RepaintNow() {
    Invalidate();
    if (Parent() && Parent()->Handle()) UpdateWindow(Parent()->Handle());
}

void PngButton::SetState(State state) {
    if (state_ == state) return;
    state_ = state;
    RepaintNow();
}

void PngButton::SetMouseInside(bool inside) {
    if (mouseInside_ == inside) return;
    mouseInside_ = inside;
    RepaintNow();
}

void PngButton::MouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    if (state_ == State::Up && button == ui::MouseButton::Left) SetState(State::Down);
    ArmClick(button, shift);
    if (shift.doubleClick && button == ui::MouseButton::Left && OnDblClick) OnDblClick(*this);
    Control::MouseDown(button, shift, at);
}

void PngButton::MouseUp(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // A release inside runs the click before the mouse-up, so the button is
    // painted up again before its click handler runs.
    if (TakeClick(button, at)) Click();
    if (state_ == State::Down) SetState(State::Up);
    Control::MouseUp(button, shift, at);
}

void PngButton::Click() {
    if (state_ == State::Down) SetState(State::Up);
    if (OnClick) OnClick(*this);
}

void PngButton::MouseMove(ui::ShiftState shift, POINT at) {
    const bool inside = at.x >= 0 && at.x < Width() && at.y >= 0 && at.y < Height();
    if (inside && !mouseInside_ && state_ != State::Down) SetMouseInside(true);
    Control::MouseMove(shift, at);
}

void PngButton::MouseEnter() {
    if (!Enabled()) return;
    if (OnMouseEnter) OnMouseEnter(*this);
    SetMouseInside(true);
}

void PngButton::MouseLeave() {
    if (!Enabled()) return;
    if (OnMouseExit) OnMouseExit(*this);
    SetMouseInside(false);
}

namespace {

void DrawDefaultFace(HDC dc, RECT r, bool pressed) {
    if (!pressed) {
        DrawEdge(dc, &r, BDR_RAISEDOUTER, BF_BOTTOMRIGHT);
        r.right -= 1, r.bottom -= 1;
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_TOPLEFT);
        r.left += 1, r.top += 1;
        DrawEdge(dc, &r, BDR_RAISEDINNER, BF_BOTTOMRIGHT | BF_MIDDLE);
    } else {
        DrawEdge(dc, &r, BDR_SUNKENINNER, BF_TOPLEFT);
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_BOTTOMRIGHT);
        r.right -= 1, r.bottom -= 1, r.left += 1, r.top += 1;
        DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_TOPLEFT | BF_MIDDLE);
    }
}

void DrawFrame(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    ui::UniqueBrush tl(CreateSolidBrush(topLeft)), br(CreateSolidBrush(bottomRight));
    const RECT top{r.left, r.top, r.right - 1, r.top + 1}, left{r.left, r.top, r.left + 1, r.bottom - 1};
    const RECT right{r.right - 1, r.top, r.right, r.bottom}, bottom{r.left, r.bottom - 1, r.right, r.bottom};
    FillRect(dc, &top, tl.Get());
    FillRect(dc, &left, tl.Get());
    FillRect(dc, &right, br.Get());
    FillRect(dc, &bottom, br.Get());
    InflateRect(&r, -1, -1);
}

} // namespace

void PngButton::ScaleContent(int fromDpi, int toDpi) {
    dpi_ = toDpi;
    if (PictureAtDpi) {
        auto [picture, pictureDpi] = PictureAtDpi(toDpi);
        pictureDpi_ = pictureDpi;
        SetImageNormal(picture);
    }
    LOGFONTW logFont{};
    if (!font_ || !GetObjectW(font_.Get(), sizeof logFont, &logFont)) return;
    logFont.lfHeight = ui::Rescale(logFont.lfHeight, fromDpi, toDpi);
    font_.Reset(CreateFontIndirectW(&logFont));
}

void PngButton::Paint(HDC dc) {
    ui::ScopedSelect font(dc, font_ ? static_cast<HGDIOBJ>(font_.Get()) : GetStockObject(DEFAULT_GUI_FONT));
    const bool pressed = state_ == State::Down && mouseInside_;
    const imaging::PngImage* picture = &imageNormal_;
    if (pressed && !imageDown_.Empty())
        picture = &imageDown_;
    else if (mouseInside_ && !imageOver_.Empty() && Enabled())
        picture = &imageOver_;
    else if (state_ == State::Disabled)
        picture = disabledImage_.Empty() ? &imageNormal_ : &disabledImage_;

    RECT r{0, 0, Width(), Height()};
    SIZE text{0, 0};
    if (!caption_.empty()) GetTextExtentPoint32W(dc, caption_.c_str(), static_cast<int>(caption_.size()), &text);
    const SIZE shown = ShownSize(*picture);
    const PngButtonPlacement place =
        PlacePngButtonContent(layout_, Width(), Height(), shown, text, !caption_.empty(), pressed);

    switch (style_) {
    case FrameStyle::Flat:
        if (state_ == State::Disabled) break;
        if (pressed)
            DrawFrame(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        else if (mouseInside_ || state_ == State::Down)
            DrawFrame(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
        break;
    case FrameStyle::Raised: {
        ui::UniqueBrush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
        FillRect(dc, &r, face.Get());
        DrawDefaultFace(dc, r, pressed);
        break;
    }
    case FrameStyle::NoFrame:
        break;
    }

    picture->Draw(dc, {place.Picture.x, place.Picture.y, place.Picture.x + shown.cx, place.Picture.y + shown.cy});
    if (caption_.empty()) return;
    SetTextColor(dc, state_ == State::Disabled ? GetSysColor(COLOR_GRAYTEXT) : fontColor_);
    SetBkMode(dc, TRANSPARENT);
    RECT clip = r;
    ExtTextOutW(dc, place.Caption.x, place.Caption.y, ETO_CLIPPED, &clip, caption_.c_str(),
                static_cast<UINT>(caption_.size()), nullptr);
}

} // namespace controls
