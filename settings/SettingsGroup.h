// A framed group of controls in a settings window: its frame, and the
// arguments that place one of its controls relative to the group's corner
// with the group's font and background.
#pragma once

#include "ui/GroupFrame.h"
#include "ui/NativeControls.h"
#include "ui/HostWindow.h"

#include <windows.h>

namespace settings {

class SettingsGroup {
protected:
    // Adds the frame, captioned, at origin on host; font is borrowed, and
    // background fills the controls' own background so that they match the
    // window's.
    SettingsGroup(ui::HostWindow& host, POINT origin, SIZE size, const wchar_t* caption, HFONT font,
                  COLORREF background);

    // A control's arguments, its rectangle given from the group's corner.
    ui::NativeControlArgs Placed(int left, int top, int width, int height, const wchar_t* text, DWORD style = 0) const;

private:
    ui::GroupFrame frame_;
    POINT origin_;
    HFONT font_;
    COLORREF background_;
};

} // namespace settings
