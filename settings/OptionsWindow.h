// The Options window: cursor drawing, start-up without the main window, the
// size of the fixed region, and the interval, method and folder of periodic
// capture. It works directly on the main window's settings record and writes
// config.ini through the settings file it is given. Created hidden, it is
// shown modally whenever the user asks for it, and keeps its controls'
// contents between showings; its "Real Time Method" choice is read live by
// periodic capture, saved or not.
#pragma once

#include "controls/PngButton.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "ui/GroupFrame.h"
#include "ui/Bitmap.h"
#include "ui/FlatButton.h"
#include "ui/HostWindow.h"
#include "ui/NativeControls.h"
#include "ui/TextControls.h"

#include <functional>
#include <optional>

namespace settings {

// The registered window class, which other programs may look for.
inline constexpr wchar_t kOptionsWindowClass[] = L"TFrmRealTimeSet";

class OptionsWindow : public ui::HostWindow {
public:
    OptionsWindow(CaptureOptions& options, IniFile& configFile);
    ~OptionsWindow() override;

    // Fills the controls from the settings, changing no setting (the number
    // box shows the saved interval when it is a whole number of the saved
    // unit, and keeps its text otherwise), and shows the window modally: the
    // program's other windows are disabled, timers keep running. Returns when
    // the window is closed, by Save or by its close box (which saves nothing
    // and keeps what the controls hold).
    void ShowModal();
    bool IsModal() const { return modal_; }

    // Raised by "More…", for the settings of the More Options window.
    std::function<void()> OnShowMoreOptions;
    // Raised after Reset has put the factory settings into the record.
    std::function<void()> OnReset;

    // The live choice of the "Real Time Method" group: 0 full screen, 1
    // active window, -1 nothing chosen. 0 until the controls are first filled.
    int RealTimeMethod() const;

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

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    void CreateControls();
    void ShowSavedInterval();
    void SetRealTimeMethod(int method);
    // Keeps the method group one stop of the keyboard order, also when
    // nothing is chosen.
    void UpdateMethodTabStop();
    void RestoreFocus();
    // Puts the keyboard focus into a box whose content Save refused.
    void FocusRefusedBox(const ui::NativeControl& box);

    void OnSaveClick();
    void OnResetClick();
    void OnBrowseClick();
    void OnClose();

    CaptureOptions& options_;
    IniFile& configFile_;
    ui::UniqueFont font_;
    // Stretched over the whole window.
    ui::Bitmap backgroundPicture_;

    // Windowless parts, bottom to top.
    ui::GroupFrame systemFrame_, fixedRegionFrame_, realTimeFrame_, intervalFrame_, methodFrame_;
    controls::PngButton browseButton_, saveButton_, resetButton_;
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

    // The control that had the keyboard focus when the window was last
    // deactivated; it gets it back when the window is active again.
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool closeRequested_ = false;
};

} // namespace settings
