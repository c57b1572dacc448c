// A flat push button without a window of its own, drawn on its host: only
// its caption shows until the mouse comes over it, when a thin raised frame
// appears; pressed, the frame is sunken and the caption moves by a pixel.
// Being windowless, it lets the host's picture show through around its text.
#pragma once

#include "ui/Control.h"

#include <string>

namespace ui {

class FlatButton : public Control {
public:
    FlatButton();

    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    // The font is borrowed: the caller keeps it alive.
    HFONT Font = nullptr;
    // Takes the same font at the new DPI.
    void ScaleContent(int fromDpi, int toDpi) override;
    COLORREF TextColor = RGB(0, 0, 0);

    NotifyHandler OnClick;

    bool Hot() const { return hot_; }
    bool Down() const { return down_; }

    void Paint(HDC dc) override;
    void MouseDown(MouseButton button, ShiftState shift, POINT at) override;
    void MouseUp(MouseButton button, ShiftState shift, POINT at) override;
    void MouseEnter() override;
    void MouseLeave() override;

private:
    std::wstring caption_;
    bool hot_ = false;
    bool down_ = false;
};

} // namespace ui
