// The Options window: cursor drawing, start-up without the main window, the
// size of the fixed region, and the interval, method and folder of periodic
// capture. It works directly on the main window's settings record and writes
// config.ini through the settings file it is given. Created hidden, it is
// shown modally whenever the user asks for it, and keeps its controls'
// contents between showings; its "Real Time Method" choice is read live by
// periodic capture, saved or not. Its "More…" button asks for the More
// Options window.
#pragma once

#include "controls/PngButton.h"
#include "settings/SettingsDialog.h"
#include "ui/FlatButton.h"
#include "ui/GroupFrame.h"
#include "ui/NativeControls.h"
#include "ui/TextControls.h"

#include <functional>
#include <optional>

namespace settings {

// The registered window class, which other programs may look for.
inline constexpr wchar_t kOptionsWindowClass[] = L"TFrmRealTimeSet";

// Each showing fills the controls from the settings, changing no setting (the
// number box shows the saved interval when it is a whole number of the saved
// unit, and keeps its text otherwise). Save closes the window; so does its
// close box, which saves nothing and keeps what the controls hold.
class OptionsWindow : public SettingsDialog {
public:
    OptionsWindow(CaptureOptions& options, IniFile& configFile);

    // "More…" was clicked.
    std::function<void()> MoreOptionsRequested;
    // Raised after Reset has put the factory settings into the record.
    std::function<void()> SettingsReset;

    // The live choice of the "Real Time Method" group, none when nothing is
    // chosen. Full Screen until the controls are first filled.
    std::optional<PeriodicSource> ChosenPeriodicSource() const;
    // What periodic capture grabs by that choice: with nothing chosen, the
    // foreground window, as for any saved index but 0.
    PeriodicSource PeriodicSourceChoice() const {
        return ChosenPeriodicSource().value_or(PeriodicSource::ActiveWindow);
    }

    // Puts the settings into the controls, all but the interval number (the
    // method clamped to -1..1). Showing the window fills them, and so does
    // Reset.
    void FillControls();

    // The native controls, for tests that read and type into them.
    struct ControlHandles {
        HWND intervalEdit, unitCombo, fullScreenRadio, activeWindowRadio, folderEdit;
        HWND widthEdit, widthSpin, heightEdit, heightSpin, includeCursorCheck, startupSuspendCheck;
    };
    ControlHandles Handles() const;

private:
    void CreateControls();
    void OnShowing() override;
    HWND FirstFocus() const override { return intervalEdit_->Handle(); }
    void SetChosenPeriodicSource(std::optional<PeriodicSource> source);
    // Keeps the method group one stop of the keyboard order, also when
    // nothing is chosen.
    void UpdateMethodTabStop();
    // Puts the keyboard focus into a box whose content Save refused.
    void FocusRefusedBox(const ui::NativeControl& box);

    void OnSaveClick();
    void OnResetClick();
    void OnBrowseClick();

    CaptureOptions& options_;
    IniFile& configFile_;

    // Windowless parts, bottom to top.
    ui::GroupFrame systemFrame_, fixedRegionFrame_, realTimeFrame_, intervalFrame_, methodFrame_;
    controls::PngButton browseButton_, saveButton_, resetButton_;
    // Windowless, so that the keyboard order of the native controls stays as it is.
    ui::FlatButton moreButton_;

    // Native controls, created in keyboard order.
    std::optional<ui::Edit> intervalEdit_;
    std::optional<ui::ComboBox> unitCombo_;
    std::optional<ui::RadioButton> fullScreenRadio_, activeWindowRadio_;
    std::optional<ui::Label> folderLabel_;
    std::optional<ui::Edit> folderEdit_;
    std::optional<ui::Label> widthLabel_;
    std::optional<ui::Edit> widthEdit_;
    std::optional<ui::UpDown> widthSpin_;
    std::optional<ui::Label> heightLabel_;
    std::optional<ui::Edit> heightEdit_;
    std::optional<ui::UpDown> heightSpin_;
    std::optional<ui::CheckBox> includeCursorCheck_, startupSuspendCheck_;
};

} // namespace settings
