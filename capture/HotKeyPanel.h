// The hotkeys on the main window's body: the card that lists the five method
// keys with their methods, and the line on the keys of periodic capture
// beside it. It is text drawn over the body's picture, so that it always
// names the keys in force.
#pragma once

#include "settings/HotKeySettings.h"
#include "ui/Control.h"
#include "ui/Handles.h"

#include <string>
#include <vector>

namespace capture {

// A key as the main window names it: its text, or "none" when the command has no key.
std::wstring KeyLabel(settings::KeyCombination key);

class HotKeyPanel : public ui::Control {
public:
    HotKeyPanel();

    // Placed over the body's picture, whose top-left corner is (left, top).
    void PlaceOnPicture(int left, int top, int width, int height) { SetBounds(left, top, width, height); }
    void SetKeys(const settings::HotKeyTable& keys);

    // The card's rows, "<key>\t<method>", then the two lines on periodic capture.
    std::vector<std::wstring> Lines() const;

    void Paint(HDC dc) override;
    bool HitTest(POINT) const override { return false; }

private:
    settings::HotKeyTable keys_ = settings::DefaultHotKeys();
    ui::UniqueFont font_;
};

} // namespace capture
