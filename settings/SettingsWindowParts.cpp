#include "settings/SettingsWindowParts.h"

#include "ui/Application.h"

namespace settings {

ui::WindowCreateArgs SettingsWindowArgs(const wchar_t* caption, POINT position, int clientWidth, int clientHeight) {
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    return {.caption = caption,
            .style = style,
            .exStyle = exStyle,
            .x = position.x,
            .y = position.y,
            .width = frame.right - frame.left,
            .height = frame.bottom - frame.top,
            .parent = ui::App().HiddenOwner()};
}

void PlaceCommandButton(controls::PngButton& button, const wchar_t* caption, const wchar_t* picture,
                        const RECT& bounds) {
    button.SetBounds(bounds);
    button.SetButtonStyle(controls::PngButton::FrameStyle::NoFrame);
    button.SetFont(L"Verdana", 11, RGB(0, 0, 0));
    button.SetCaption(caption);
    button.SetImageNormal(ui::PngImage::FromResource(picture));
    button.Cursor = LoadCursorW(nullptr, IDC_HAND);
}

} // namespace settings
