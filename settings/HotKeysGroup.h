// The Hotkeys group of the More Options window: one hotkey field for each
// command, and beside a field a mark when another program holds its key.
#pragma once

#include "settings/HotKeySettings.h"
#include "settings/SettingsGroup.h"
#include "ui/HostWindow.h"
#include "ui/HotKeyField.h"
#include "ui/TextControls.h"

#include <array>
#include <optional>
#include <vector>

namespace settings {

class HotKeysGroup : SettingsGroup {
public:
    static constexpr int kWidth = 393, kHeight = 244;

    // Creates the group's controls on host, the group's top-left corner at
    // origin; the fields take the keyboard focus in command order.
    HotKeysGroup(ui::HostWindow& host, POINT origin, HFONT font, COLORREF background);

    // Shows the keys, and marks the fields of the commands whose keys another
    // program holds.
    void Show(const HotKeyTable& keys, const std::vector<HotKeyCommand>& heldElsewhere);
    // The keys the fields hold. Throws ui::Error naming both commands when
    // two of them have the same key, and puts the focus on the second.
    HotKeyTable Read() const;

    // Whether the field's mark is on, shown or not with the window.
    bool Marked(HotKeyCommand command) const {
        return (GetWindowLongW(marks_[Index(command)]->Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    HWND Field(HotKeyCommand command) const { return fields_[Index(command)]->Handle(); }

private:
    static int Index(HotKeyCommand command) { return static_cast<int>(command); }

    std::array<std::optional<ui::Label>, kHotKeyCommandCount> labels_;
    std::array<std::optional<ui::HotKeyField>, kHotKeyCommandCount> fields_;
    std::array<std::optional<ui::Label>, kHotKeyCommandCount> marks_;
};

} // namespace settings
