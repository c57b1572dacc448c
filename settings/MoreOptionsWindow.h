// The More Options window, "Snapora - More Options": the settings that came
// after the Options window's, in groups stacked one under the other, with a
// Save and a Reset of its own. Opened from the Options window's "More…"
// button, it works on the same settings record and settings file. Save takes
// its controls into the record and writes config.ini; Reset puts its own
// settings back to their defaults, in the record and in the file, and stays
// open. Neither touches what the Options window edits.
#pragma once

#include "controls/PngButton.h"
#include "settings/FullScreenAreaGroup.h"
#include "settings/HotKeysGroup.h"
#include "settings/PeriodicOptionsPanel.h"
#include "settings/SettingsDialog.h"

#include <functional>
#include <optional>
#include <vector>

namespace settings {

// The registered window class.
inline constexpr wchar_t kMoreOptionsWindowClass[] = L"SnaporaMoreOptions";

class MoreOptionsWindow : public SettingsDialog {
public:
    MoreOptionsWindow(CaptureOptions& options, IniFile& configFile);

    // Raised once Save or Reset has changed the hotkeys of the settings: the
    // listener puts them in force and gives the commands whose keys another
    // program holds, which the window then marks (and stays open for).
    std::function<std::vector<HotKeyCommand>()> HotKeysChanged;
    // The commands whose keys another program holds now, marked when the window opens.
    std::function<std::vector<HotKeyCommand>()> HeldElsewhere;

    // The groups, for a test to look at and work.
    FullScreenAreaGroup& FullScreenAreaChoice() { return *fullScreenArea_; }
    HotKeysGroup& HotKeys() { return *hotKeys_; }
    void OnSaveClick();
    void OnResetClick();

    // The middle of the Save and Reset buttons, in client coordinates.
    POINT SaveButtonCentre() const;
    POINT ResetButtonCentre() const;
    // The group of periodic capture's file settings, for tests.
    const PeriodicOptionsPanel& PeriodicGroup() const { return *periodicGroup_; }

private:
    void OnShowing() override { FillControls(); }
    HWND FirstFocus() const override { return hotKeys_->Field(HotKeyCommand::FullScreen); }
    // Puts the settings into the controls.
    void FillControls();
    // Puts the keys in force and shows what came of it; true when every key works.
    bool ApplyHotKeys();

    CaptureOptions& options_;
    IniFile& configFile_;
    std::optional<FullScreenAreaGroup> fullScreenArea_;
    std::optional<HotKeysGroup> hotKeys_;
    std::optional<PeriodicOptionsPanel> periodicGroup_;
    controls::PngButton saveButton_, resetButton_;
};

} // namespace settings
