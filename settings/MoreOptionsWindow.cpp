#include "settings/MoreOptionsWindow.h"

#include "ui/Application.h"
#include "ui/Modal.h"
#include "ui/Resources.h"

namespace settings {

namespace {

constexpr int kClientWidth = 443, kClientHeight = 360;
constexpr POINT kWindowPosition{489, 180};
constexpr COLORREF kPanelColor = RGB(0xF4, 0xF7, 0xFB);

} // namespace

MoreOptionsWindow::MoreOptionsWindow(CaptureOptions& options, IniFile& configFile)
    : options_(options), configFile_(configFile) {
    // A fixed dialog frame owned by the application's hidden window, as the
    // Options window has.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME;
    RECT frame{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    CreateHost(kMoreOptionsWindowClass, {.caption = L"Snapora - More Options",
                                         .style = style,
                                         .exStyle = exStyle,
                                         .x = kWindowPosition.x,
                                         .y = kWindowPosition.y,
                                         .width = frame.right - frame.left,
                                         .height = frame.bottom - frame.top,
                                         .parent = ui::App().HiddenOwner()});
    Color = kPanelColor;
    font_ = ui::CreateFontOf(L"\u5B8B\u4F53", 12, GB2312_CHARSET);
    hotKeys_.emplace(*this, POINT{24, 20}, font_.Get(), kPanelColor);

    struct CommandButton {
        controls::PngButton& button;
        const wchar_t* caption;
        const wchar_t* picture;
        RECT bounds;
    };
    const CommandButton commands[] = {
        {saveButton_, L"Save", L"ICON_OPTIONS_SAVE", {120, 285, 120 + 73, 285 + 60}},
        {resetButton_, L"Reset", L"ICON_RESET", {256, 285, 256 + 81, 285 + 60}},
    };
    for (const CommandButton& c : commands) {
        c.button.SetBounds(c.bounds);
        c.button.SetButtonStyle(controls::PngButton::FrameStyle::NoFrame);
        c.button.SetFont(L"Verdana", 11, RGB(0, 0, 0));
        c.button.SetCaption(c.caption);
        c.button.SetImageNormal(ui::PngImage::FromResource(c.picture));
        c.button.Cursor = LoadCursorW(nullptr, IDC_HAND);
        AddControl(c.button);
    }
    saveButton_.OnClick = [this](ui::Control&) { OnSaveClick(); };
    resetButton_.OnClick = [this](ui::Control&) { OnResetClick(); };
}

MoreOptionsWindow::~MoreOptionsWindow() { ui::App().RemoveDialogWindow(Handle()); }

void MoreOptionsWindow::ShowModal(const std::vector<HotKeyCommand>& heldElsewhere) {
    if (modal_) {
        SetForegroundWindow(Handle());
        return;
    }
    hotKeys_->Show(options_.HotKeys, heldElsewhere);
    const HWND previous = GetActiveWindow();
    modal_ = true;
    closeRequested_ = false;
    {
        ui::ModalScope scope(Handle());
        ui::App().AddDialogWindow(Handle());
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        SetFocus(hotKeys_->Field(HotKeyCommand::FullScreen));
        ui::App().RunModalLoop([this] { return closeRequested_ || !IsWindowVisible(Handle()); });
        ui::App().RemoveDialogWindow(Handle());
        scope.End();
        ShowWindow(Handle(), SW_HIDE);
    }
    modal_ = false;
    if (previous && previous != Handle() && IsWindow(previous) && IsWindowVisible(previous)) SetActiveWindow(previous);
}

bool MoreOptionsWindow::ApplyHotKeys() {
    const std::vector<HotKeyCommand> held = OnHotKeysChanged ? OnHotKeysChanged() : std::vector<HotKeyCommand>{};
    hotKeys_->Show(options_.HotKeys, held);
    return held.empty();
}

void MoreOptionsWindow::OnSaveClick() {
    // Two commands with one key are refused before anything changes.
    const HotKeyTable keys = hotKeys_->Read();
    options_.HotKeys = keys;
    SaveOptions(configFile_, options_);
    // A key that another program holds keeps the window open, its field marked.
    if (ApplyHotKeys()) closeRequested_ = true;
}

void MoreOptionsWindow::OnResetClick() {
    options_.HotKeys = DefaultHotKeys();
    WriteHotKeys(configFile_, options_.HotKeys);
    ApplyHotKeys();
}

LRESULT MoreOptionsWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // The close box and Esc only hide the window, saving nothing.
    if (message == WM_CLOSE || (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) == IDCANCEL)) {
        closeRequested_ = true;
        if (!modal_) Hide();
        return 0;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace settings
