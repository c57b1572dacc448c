#include "settings/SettingsGroup.h"

namespace settings {

SettingsGroup::SettingsGroup(ui::HostWindow& host, POINT origin, SIZE size, const wchar_t* caption, HFONT font,
                             COLORREF background)
    : origin_(origin), font_(font), background_(background) {
    frame_.SetBounds(origin.x, origin.y, size.cx, size.cy);
    frame_.SetCaption(caption);
    frame_.Font = font;
    host.AddControl(frame_);
}

ui::NativeControlArgs SettingsGroup::Placed(int left, int top, int width, int height, const wchar_t* text,
                                            DWORD style) const {
    return ui::NativeControlArgs{.text = text,
                                 .x = origin_.x + left,
                                 .y = origin_.y + top,
                                 .width = width,
                                 .height = height,
                                 .font = font_,
                                 .background = background_,
                                 .style = style};
}

} // namespace settings
