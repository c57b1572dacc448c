// What the settings windows (Options, More Options) have in common: their
// frame, and the look of their Save and Reset buttons.
#pragma once

#include "controls/PngButton.h"
#include "ui/Window.h"

namespace settings {

// A fixed dialog frame around a client area of the given size: no sizing
// border, no minimise or maximise box, no icon in the caption. The window is
// owned by the application's hidden window, which keeps it off the taskbar
// like the rest of the program; WS_CLIPCHILDREN keeps the painting of the
// window's background off the native controls.
ui::WindowCreateArgs SettingsWindowArgs(const wchar_t* caption, POINT position, int clientWidth, int clientHeight);

// A command button: its picture above its caption, without a frame, with the
// hand cursor. The caller adds it to the window.
void PlaceCommandButton(controls::PngButton& button, const wchar_t* caption, const wchar_t* picture,
                        const RECT& bounds);

} // namespace settings
