// A group box drawn by its host: an etched frame with a caption in its top
// edge. Being windowless, it lets the host's picture and the windowless
// controls inside it show, which a native group box (a child window that
// paints its whole rectangle) would hide. It never takes the mouse.
#pragma once

#include "ui/Control.h"

#include <string>

namespace ui {

class GroupFrame : public Control {
public:
    const std::wstring& Caption() const { return caption_; }
    void SetCaption(std::wstring caption);
    // The font is borrowed: the caller keeps it alive.
    HFONT Font = nullptr;
    // Takes the same font at the new DPI.
    void ScaleContent(int fromDpi, int toDpi) override;
    COLORREF TextColor = GetSysColor(COLOR_BTNTEXT);

    void Paint(HDC dc) override;
    bool HitTest(POINT) const override { return false; }

private:
    SIZE CaptionExtent() const;

    std::wstring caption_;
};

} // namespace ui
