#include "settings/MoreOptionsWindow.h"

#include "settings/SettingsWindowParts.h"
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
    CreateHost(kMoreOptionsWindowClass,
               SettingsWindowArgs(L"Snapora - More Options", kWindowPosition, kClientWidth, kClientHeight));
    Color = kPanelColor;
    font_ = ui::CreateFontOf(L"\u5B8B\u4F53", 12, GB2312_CHARSET);
    hotKeys_.emplace(*this, POINT{24, 20}, font_.Get(), kPanelColor);

    PlaceCommandButton(saveButton_, L"Save", L"ICON_OPTIONS_SAVE", {120, 285, 120 + 73, 285 + 60});
    PlaceCommandButton(resetButton_, L"Reset", L"ICON_RESET", {256, 285, 256 + 81, 285 + 60});
    AddControl(saveButton_);
    AddControl(resetButton_);
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
    modal_ = true;
    closeRequested_ = false;
    ui::RunModalWindow(
        Handle(), [this] { return closeRequested_; }, [this] { SetFocus(hotKeys_->Field(HotKeyCommand::FullScreen)); });
    modal_ = false;
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
