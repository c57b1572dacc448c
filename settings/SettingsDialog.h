// What the settings windows share: a fixed dialog frame over the panel
// picture, shown modally on request, with the keyboard handled as in a
// dialog. Created hidden, a settings window keeps its controls' contents
// between showings; closing it only hides it.
#pragma once

#include "settings/IniFile.h"
#include "settings/Options.h"
#include "ui/Bitmap.h"
#include "ui/CaptionCloseButton.h"
#include "ui/HostWindow.h"

namespace settings {

class SettingsDialog : public ui::HostWindow {
public:
    ~SettingsDialog() override;

    // Fills the controls (OnShowing) and shows the window modally: the
    // program's other windows are disabled, timers keep running. Returns when
    // the window is closed, by its own commands or by its close box.
    void ShowModal();
    bool IsModal() const { return modal_; }

    // The colour of the panel picture between its shaded edges, where all
    // the native controls sit: they fill their own background with it, so
    // that they show no box of another colour.
    static constexpr COLORREF kPanelColor = RGB(0xF4, 0xF7, 0xFB);

protected:
    // Creates the window with a client area of that size at a screen position.
    void CreateDialogWindow(const wchar_t* className, const wchar_t* caption, POINT position, SIZE client);

    // Runs before each showing.
    virtual void OnShowing() = 0;
    // The control that takes the keyboard focus when none had it before.
    virtual HWND FirstFocus() const = 0;

    // Hides the window, ending its modal showing.
    void Close();
    // Tells the user that config.ini is saved, then closes the window.
    void ConfirmSavedAndClose();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    void RestoreFocus();

    // Stretched over the whole window.
    ui::Bitmap backgroundPicture_;
    ui::CaptionCloseButton closeButton_;
    // The control that had the keyboard focus when the window was last
    // deactivated; it gets it back when the window is active again.
    HWND lastFocus_ = nullptr;
    bool modal_ = false;
    bool closeRequested_ = false;
};

} // namespace settings
