// "Snapora - More Options": the settings beyond the Options window, with a
// Save and a Reset of their own; for now the Hotkeys group. It works on the
// main window's settings record and writes config.ini through the settings
// file it is given. Created hidden, it is shown modally when asked for.
#pragma once

#include "controls/PngButton.h"
#include "settings/HotKeysGroup.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "ui/HostWindow.h"

#include <functional>
#include <optional>
#include <vector>

namespace settings {

inline constexpr wchar_t kMoreOptionsWindowClass[] = L"SnaporaMoreOptions";

class MoreOptionsWindow : public ui::HostWindow {
public:
    MoreOptionsWindow(CaptureOptions& options, IniFile& configFile);
    ~MoreOptionsWindow() override;

    // Fills the controls from the settings and shows the window modally;
    // returns when it is closed. heldElsewhere marks the fields whose keys
    // another program holds.
    void ShowModal(const std::vector<HotKeyCommand>& heldElsewhere);
    bool IsModal() const { return modal_; }

    // Raised once Save or Reset has changed the hotkeys of the settings: the
    // listener puts them in force and gives the commands whose keys another
    // program holds, which the window then marks (and stays open for).
    std::function<std::vector<HotKeyCommand>()> OnHotKeysChanged;

    HotKeysGroup& HotKeys() { return *hotKeys_; }

    void OnSaveClick();
    void OnResetClick();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Puts the keys in force and shows what came of it; true when every key works.
    bool ApplyHotKeys();

    CaptureOptions& options_;
    IniFile& configFile_;
    ui::UniqueFont font_;
    std::optional<HotKeysGroup> hotKeys_;
    controls::PngButton saveButton_, resetButton_;
    bool modal_ = false;
    bool closeRequested_ = false;
};

} // namespace settings
