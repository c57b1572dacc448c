#include "settings/SettingsDialog.h"

#include "ui/Application.h"
#include "ui/Modal.h"
#include "ui/Monitors.h"
#include "ui/Resources.h"

namespace settings {

SettingsDialog::~SettingsDialog() { ui::App().RemoveDialogWindow(Handle()); }

void SettingsDialog::CreateDialogWindow(const wchar_t* className, const wchar_t* caption, POINT position, SIZE client) {
    // A fixed dialog frame: no sizing border, no minimise or maximise box,
    // and no icon in the caption. The window is owned by the application's
    // hidden window, which keeps it off the taskbar like the rest of the
    // program. WS_CLIPCHILDREN keeps the painting of the window's picture
    // off the native controls.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, client.cx, client.cy};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    CreateHost(className, {.caption = caption,
                           .style = style,
                           .exStyle = exStyle,
                           .x = position.x,
                           .y = position.y,
                           .width = frame.right - frame.left,
                           .height = frame.bottom - frame.top,
                           .parent = ui::App().HiddenOwner()});
    Color = kPanelColor;
    backgroundPicture_ = ui::LoadBitmapResource(L"OPTIONS_BACKGROUND");
}

void SettingsDialog::PaintBackground(HDC dc, const RECT& client) {
    HostWindow::PaintBackground(dc, client);
    backgroundPicture_.StretchDraw(dc, client);
}

void SettingsDialog::ShowModal() {
    if (modal_) {
        SetForegroundWindow(Handle());
        return;
    }
    OnShowing();
    const HWND previous = GetActiveWindow();
    modal_ = true;
    closeRequested_ = false;
    {
        ui::ModalScope scope(Handle());
        ui::App().AddDialogWindow(Handle());
        // At the scale of the monitor it opens on, and never off the
        // screen, whatever monitors the desktop has now.
        FollowMonitorDpi();
        ui::FitOntoMonitor(Handle());
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        // Like a dialog, the window opens with the text of the box that has
        // the focus selected, ready to be typed over.
        const HWND focus = GetFocus();
        if (focus && IsChild(Handle(), focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
            SendMessageW(focus, EM_SETSEL, 0, -1);
        ui::App().RunModalLoop([this] { return closeRequested_ || !IsWindowVisible(Handle()); });
        ui::App().RemoveDialogWindow(Handle());
        scope.End();
        ShowWindow(Handle(), SW_HIDE);
    }
    modal_ = false;
    if (previous && previous != Handle() && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
}

void SettingsDialog::Close() {
    if (modal_)
        closeRequested_ = true;
    else
        Hide();
}

void SettingsDialog::ConfirmSavedAndClose() {
    ui::App().ShowMessage(L"The config file is saved!", L"Success", MB_OK | MB_TASKMODAL);
    Close();
}

void SettingsDialog::RestoreFocus() {
    HWND target = lastFocus_;
    if (!target || !IsWindow(target) || !IsWindowVisible(target) || !IsWindowEnabled(target)) target = FirstFocus();
    SetFocus(target);
}

LRESULT SettingsDialog::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; closeButton_.HandleMessage(Handle(), message, wParam, lParam, result)) return result;
    switch (message) {
    case WM_CLOSE:
        // Closing only hides the window; it lives as long as its owner.
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus && IsChild(Handle(), focus)) lastFocus_ = focus;
            break;
        }
        // Left to the default, activation would give the focus to the window
        // itself rather than to one of its controls.
        RestoreFocus();
        return 0;
    case WM_COMMAND:
        // Esc, as the dialog keyboard handling reports it: a command from no
        // control. It closes the window like its close box.
        if (lParam == 0 && LOWORD(wParam) == IDCANCEL) {
            Close();
            return 0;
        }
        break;
    default:
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace settings
