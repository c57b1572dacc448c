// Whether the texts of a window's controls fit them, each measured with the
// control's own font. It reads fonts with WM_GETFONT, which another
// process's control does not answer under Wine, so it runs in the process
// that owns the window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace support {

// The room that a control leaves for its text, and the text's size there.
struct TextRoom {
    std::wstring what; // the control, for a failure message
    std::wstring text;
    HFONT font = nullptr;
    SIZE room{};
};

// One line of a failure message for each text that does not fit its room
// (or that has no font to measure it with); empty when all fit.
std::vector<std::string> ClippedTexts(const std::vector<TextRoom>& texts);

// The rooms of the text controls among window's children: labels, buttons
// (push, radio, check), group boxes, and the fields of edit and combo boxes,
// whose height must hold a line. A check box or radio button leaves its
// box's width, scaled to dpi, out of its room.
std::vector<TextRoom> NativeTextRooms(HWND window, int dpi);

// The size of text in font; lines broken at "\n" are stacked.
SIZE MeasureText(HFONT font, const std::wstring& text);

} // namespace support
