// The close button in the caption of a window with a fixed dialog frame,
// drawn by the window itself where the system has no Marlett font: the
// system draws the button's cross as that font's letter "r", and without the
// font a plain "r" is what the user sees (Wine without its own fonts does
// this). Where the font is there, the system draws the button as usual and
// this does nothing.
#pragma once

#include <windows.h>

namespace ui {

class CaptionCloseButton {
public:
    // Called from the window's procedure before anything else: takes the
    // caption's painting and the button's press, and gives true with the
    // message's result when it handled the message itself.
    bool HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    void Draw(HWND window, bool pressed) const;
    bool PointerOnButton(HWND window) const;

    bool tracking_ = false; // the button was pressed and the mouse is captured
    bool pressed_ = false;  // and the pointer is on it, so it shows pushed in
};

} // namespace ui
