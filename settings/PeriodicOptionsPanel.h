// The controls of periodic capture's further settings, laid out as one group
// on a settings window: skipping unchanged pictures, how many of its
// pictures to keep in the folder, and the file format. The window places the
// group, fills it from the settings and takes its values back on Save.
#pragma once

#include "settings/Options.h"
#include "settings/SettingsGroup.h"
#include "ui/NativeControls.h"
#include "ui/TextControls.h"

#include <optional>

namespace ui {
class HostWindow;
}

namespace settings {

// The largest number of pictures the budget takes: far more than a folder
// of periodic capture holds in a year at one picture a minute.
inline constexpr int kMaxKeptPictures = 1000000;

class PeriodicOptionsPanel : SettingsGroup {
public:
    // The group's size in pixels.
    static constexpr int kWidth = 393, kHeight = 121;

    // Creates the controls on the window, the group's top-left corner at
    // origin; the font is borrowed, and background fills the controls' own
    // background so that they match the window's.
    PeriodicOptionsPanel(ui::HostWindow& host, POINT origin, HFONT font, COLORREF background);

    void Fill(const CaptureOptions& options);
    // Takes the controls' values into the settings. A number of pictures to
    // keep that is not an integer from 0 to kMaxKeptPictures throws
    // ui::Error with the message for the user, and changes nothing.
    void Take(CaptureOptions& options) const;

    // The native controls, for tests that read and type into them.
    struct ControlHandles {
        HWND skipUnchangedCheck, keepFilesEdit, keepFilesSpin, formatCombo;
    };
    ControlHandles Handles() const;

private:
    std::optional<ui::CheckBox> skipUnchangedCheck_;
    std::optional<ui::Label> keepFilesLabel_;
    std::optional<ui::Edit> keepFilesEdit_;
    std::optional<ui::UpDown> keepFilesSpin_;
    std::optional<ui::Label> keepFilesNote_;
    std::optional<ui::Label> formatLabel_;
    std::optional<ui::ComboBox> formatCombo_;
};

} // namespace settings
