// The More Options window, "Snapora - More Options": the settings that came
// after the Options window's, in groups stacked one under the other, with a
// Save and a Reset of its own. Opened from the Options window's "More…"
// button, it works on the same settings record and settings file. Save takes
// its controls into the record and writes config.ini; Reset puts its own
// settings back to their defaults, in the record and in the file, and stays
// open. Neither touches what the Options window edits.
#pragma once

#include "controls/PngButton.h"
#include "settings/SettingsDialog.h"
#include "ui/TextControls.h"

#include <optional>

namespace settings {

// The registered window class.
inline constexpr wchar_t kMoreOptionsWindowClass[] = L"SnaporaMoreOptions";

class MoreOptionsWindow : public SettingsDialog {
public:
    MoreOptionsWindow(CaptureOptions& options, IniFile& configFile);

    // The middle of the Save and Reset buttons, in client coordinates.
    POINT SaveButtonCentre() const;
    POINT ResetButtonCentre() const;

private:
    void OnShowing() override { FillControls(); }
    HWND FirstFocus() const override { return Handle(); }
    // Puts the settings into the controls.
    void FillControls();
    void OnSaveClick();
    void OnResetClick();

    CaptureOptions& options_;
    IniFile& configFile_;
    // Shown while the window has no group.
    std::optional<ui::Label> emptyNote_;
    controls::PngButton saveButton_, resetButton_;
};

} // namespace settings
