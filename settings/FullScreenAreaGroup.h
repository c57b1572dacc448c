// The group of the More Options window that chooses what a Full Screen
// capture takes (config.ini "FullScreenArea"): a framed column of three
// choices, the primary monitor, the monitor under the mouse, every monitor.
#pragma once

#include "settings/Options.h"
#include "settings/SettingsGroup.h"
#include "ui/HostWindow.h"
#include "ui/NativeControls.h"

#include <array>
#include <memory>

namespace settings {

class FullScreenAreaGroup : SettingsGroup {
public:
    // The group's height; it is as wide as it is told.
    static constexpr int kHeight = 92;

    // Creates the frame and the choices on the host, the frame's top-left
    // corner at origin. The font is borrowed (null: the system's GUI font).
    FullScreenAreaGroup(ui::HostWindow& host, POINT origin, int width, HFONT font, COLORREF background);

    // Marks the choice of the area; raises nothing.
    void Show(ScreenArea area);
    // The area marked now.
    ScreenArea Chosen() const;

    ui::RadioButton& Choice(ScreenArea area) { return *choices_[static_cast<int>(area)]; }

private:
    // In ScreenArea order.
    std::array<std::unique_ptr<ui::RadioButton>, 3> choices_;
};

} // namespace settings
