// The keys on the main window, written over its artwork so that they always
// name the keys in force: the hint under the header, the card on the body
// that lists the five method keys with their methods, and the line on the
// keys of periodic capture beside it.
#pragma once

#include "settings/HotKeySettings.h"
#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/Scale.h"

#include <string>
#include <vector>

namespace app {

// A key as the main window names it: its text, or "none" when the command has no key.
std::wstring KeyLabel(settings::KeyCombination key);

class HotKeyPanel : public ui::Control {
public:
    HotKeyPanel();

    // The text covers the whole client area; the body's picture has its
    // top-left corner at bodyPicture.
    void Place(int clientWidth, int clientHeight, POINT bodyPicture);
    void SetKeys(const settings::HotKeyTable& keys);

    // The header's hint.
    std::wstring Hint() const;
    // The card's rows, "<key>\t<method>", then the two lines on periodic capture.
    std::vector<std::wstring> Lines() const;

    void Paint(HDC dc) override;
    bool HitTest(POINT) const override { return false; }
    // The text and the places drawn up for it follow the DPI.
    void ScaleContent(int fromDpi, int toDpi) override;

private:
    void PaintBody(HDC dc) const;

    settings::HotKeyTable keys_ = settings::DefaultHotKeys();
    POINT bodyPicture_{};
    ui::UniqueFont font_;
    ui::Scale scale_;
};

} // namespace app
