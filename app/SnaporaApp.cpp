#include "app/SnaporaApp.h"

#include "hook/hook.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/Taskbar.h"

namespace app {

using capture::CaptureMethod;

namespace {

// The question asked before periodic capture starts; it names the key that stops it.
std::wstring PeriodicNoticeText(settings::KeyCombination stopKey) {
    const std::wstring how = stopKey.Empty()
                                 ? L"system tray menu"
                                 : L"hotkey " + settings::KeyCombinationText(stopKey) + L" or system tray menu";
    return L"Note: The real time capture will be on. You can stop it with " + how + L". Start now?";
}

// The settings of this run. A settings file that exists but cannot be read
// is named, and the defaults serve for this run, as the message says.
settings::CaptureOptions OptionsAtStart(const settings::IniFile& file) {
    settings::CaptureOptions options;
    if (const std::wstring problem = settings::ConfigReadProblem(file.FileName()); !problem.empty())
        ui::App().ShowMessage(ui::FormatMessageText(L"Cannot read the settings file \"%s\". %s Snapora starts with "
                                                    L"the default settings.",
                                                    {file.FileName(), problem}),
                              MB_OK | MB_ICONWARNING);
    else
        settings::LoadOptions(file, options);
    return options;
}

HICON SmallProgramIcon() {
    // The tray's icons grow with the display's scale: 16 pixels at 100 %.
    const int side = ui::Scale(ui::SystemDpi()).Px(16);
    return static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, side, side, LR_SHARED));
}

} // namespace

SnaporaApp::SnaporaApp()
    : configFile_(settings::ConfigFilePath()), options_(OptionsAtStart(configFile_)),
      showMainWindowAtStart_(!options_.StartupSuspend), hotKeys_(mainWindow_.Handle(), options_.More.HotKeys),
      optionsWindow_(options_, configFile_), moreOptionsWindow_(options_, configFile_),
      trigger_({highlightFrame_, regionScreen_, pictureWindow_}, options_,
               [this] { return mainWindow_.SelectedMethod(); }),
      periodic_(options_, [this] { return optionsWindow_.PeriodicSourceChoice(); }),
      tray_(mainWindow_.Handle(), SmallProgramIcon(), ui::App().Title()), screenAvailability_(mainWindow_.Handle()) {
    // From now on the program is reached through the tray icon, the hotkeys
    // and the suspend panel, not through a taskbar button.
    ui::RemoveFromTaskbar(mainWindow_.Handle());

    ConnectMainWindow();
    ConnectSuspendPanel();
    ConnectTray();
    pictureWindow_.Closed = [this] { trigger_.OnPictureClosed(); };
    regionScreen_.RegionSelected = [this](const ui::Bitmap& frozen, POINT start, POINT end) {
        trigger_.OnRegionSelected(frozen, start, end);
    };
    optionsWindow_.MoreOptionsRequested = [this] { moreOptionsWindow_.ShowModal(); };
    // Saved hotkeys are in force at once; the ones another program holds are
    // named in one message, and marked in More Options.
    ApplyHotKeys();
    moreOptionsWindow_.HotKeysChanged = [this] {
        ApplyHotKeys();
        ReportRefusedHotKeys();
        return hotKeys_.Refused();
    };
    moreOptionsWindow_.HeldElsewhere = [this] { return hotKeys_.Refused(); };
    optionsWindow_.SettingsReset = [this] { moreOptionsWindow_.HotKeysChanged(); };
    // Reported once the message loop runs, over the windows of the start.
    startNotices_.OnMessage = [this](UINT, WPARAM, LPARAM) { ReportRefusedHotKeys(); };
    // The trigger does not listen while periodic capture takes a picture; a
    // failed tick leaves it deaf until a later tick succeeds.
    periodic_.TickStarting = [this] { trigger_.SetListening(false); };
    periodic_.TickSucceeded = [this] {
        trigger_.SetListening(true);
        UpdateTrayTip();
    };
}

void SnaporaApp::ConnectMainWindow() {
    mainWindow_.CaptureRequested = [this] { OnCaptureRequested(); };
    mainWindow_.MethodChosen = [this](CaptureMethod method) { OnMethodChosen(method); };
    mainWindow_.PeriodicSwitchClicked = [this](bool checked) { OnPeriodicSwitchClicked(checked); };
    mainWindow_.OptionsRequested = [this] { optionsWindow_.ShowModal(); };
    mainWindow_.SuspendPanelRequested = [this] { suspendPanel_.ShowPanel(); };
    mainWindow_.Closing = [this] { trigger_.ReleaseHooks(); };
    mainWindow_.Destroyed = [this] { OnMainWindowDestroyed(); };
    mainWindow_.HotKeyPressed = [this](LPARAM modifiersAndKey) { OnHotKey(modifiersAndKey); };
    mainWindow_.TrayIconMessage = [this](UINT mouseMessage) {
        tray_.OnIconMessage(mouseMessage, mainWindow_.SelectedMethod());
    };
    mainWindow_.TaskbarCreated = [this] { tray_.OnTaskbarCreated(); };
    mainWindow_.SessionChanged = [this](WPARAM reason) {
        OnScreenAvailabilityChanged(screenAvailability_.OnSessionChange(reason));
    };
    mainWindow_.PowerBroadcast = [this](WPARAM event, LPARAM data) {
        OnScreenAvailabilityChanged(screenAvailability_.OnPowerBroadcast(event, data));
    };
}

void SnaporaApp::ConnectSuspendPanel() {
    suspendPanel_.CaptureRequested = [this](CaptureMethod method) { CaptureWith(method); };
    suspendPanel_.PeriodicStartRequested = [this] { RequestPeriodicCapture(true); };
    suspendPanel_.PeriodicStopRequested = [this] { RequestPeriodicCapture(false); };
    suspendPanel_.OptionsRequested = [this] { optionsWindow_.ShowModal(); };
    suspendPanel_.MainWindowRequested = [this] { mainWindow_.Reveal(); };
    suspendPanel_.QuitRequested = [this] { mainWindow_.Close(); };
}

void SnaporaApp::ConnectTray() {
    tray_.CaptureRequested = [this](CaptureMethod method) { CaptureWith(method); };
    tray_.PeriodicStartRequested = [this] { RequestPeriodicCapture(true); };
    tray_.PeriodicStopRequested = [this] { RequestPeriodicCapture(false); };
    tray_.SuspendPanelShowRequested = [this] { suspendPanel_.ShowPanel(); };
    tray_.SuspendPanelHideRequested = [this] { suspendPanel_.HidePanel(); };
    tray_.ExitRequested = [this] { mainWindow_.Close(); };
    tray_.MainWindowToggleRequested = [this] { mainWindow_.ToggleShown(); };
}

int SnaporaApp::Run() {
    if (showMainWindowAtStart_) mainWindow_.Show();
    if (!hotKeys_.Refused().empty()) PostMessageW(startNotices_.Handle(), WM_APP, 0, 0);
    return ui::App().Run();
}

void SnaporaApp::OnMethodChosen(CaptureMethod method) {
    mainWindow_.SelectMethod(method);
    trigger_.Arm();
}

void SnaporaApp::CaptureWith(CaptureMethod method) {
    OnMethodChosen(method);
    trigger_.CaptureNow();
}

void SnaporaApp::OnCaptureRequested() {
    trigger_.Arm();
    trigger_.CaptureNow();
}

void SnaporaApp::RequestPeriodicCapture(bool start) {
    mainWindow_.SetPeriodicChecked(start);
    OnPeriodicSwitchClicked(start);
}

void SnaporaApp::OnPeriodicSwitchClicked(bool checked) {
    if (checked) {
        const int answer = ui::App().ShowMessage(
            PeriodicNoticeText(options_.More.HotKeys[static_cast<int>(settings::HotKeyCommand::StopPeriodic)]),
            L"Notice", MB_OKCANCEL | MB_TASKMODAL);
        if (answer == IDOK) {
            tray_.OnPeriodicStarted();
            trigger_.SetListening(false);
            // The first picture comes one full period later; a period of 0
            // or less (a hand-edited file) runs nothing.
            periodic_.Start(options_.Interval);
            UpdateTrayTip();
            return;
        }
        mainWindow_.SetPeriodicChecked(false);
    }
    trigger_.SetListening(true);
    periodic_.Stop();
    UpdateTrayTip();
}

void SnaporaApp::UpdateTrayTip() {
    tray_.ShowPeriodicProgress(periodic_.Running() ? std::optional<int>(periodic_.Interval()) : std::nullopt,
                               periodic_.Progress(), options_.More.PeriodicSkipUnchanged);
}

void SnaporaApp::OnScreenAvailabilityChanged(bool changed) {
    if (changed) periodic_.SetPaused(!screenAvailability_.Available());
}

void SnaporaApp::OnHotKey(LPARAM modifiersAndKey) {
    const std::optional<HotKey> hotKey = hotKeys_.Match(modifiersAndKey);
    if (!hotKey) return;
    switch (hotKey->action) {
    case HotKeyAction::StartPeriodic:
        RequestPeriodicCapture(true);
        return;
    case HotKeyAction::StopPeriodic:
        RequestPeriodicCapture(false);
        return;
    case HotKeyAction::Capture:
        // While the region screen or the picture window is up, the capture
        // under way is the user's: a method key does not replace it, just as
        // the capture key itself does nothing then.
        if (trigger_.CaptureUnderWay()) return;
        CaptureWith(hotKey->method);
        return;
    }
}

void SnaporaApp::ApplyHotKeys() {
    const settings::HotKeyTable& keys = options_.More.HotKeys;
    hotKeys_.Change(keys);
    const settings::KeyCombination captureKey = keys[static_cast<int>(settings::HotKeyCommand::CaptureKey)];
    SetCaptureKey(captureKey.modifiers, captureKey.key);
    tray_.ShowHotKeys(keys);
    mainWindow_.ShowHotKeys(keys);
}

void SnaporaApp::ReportRefusedHotKeys() {
    if (const std::wstring refused = RefusedHotKeysMessage(hotKeys_.Refused(), options_.More.HotKeys); !refused.empty())
        ui::App().ShowMessage(refused, MB_OK | MB_ICONWARNING);
}

void SnaporaApp::OnMainWindowDestroyed() {
    // The main window's end is the program's: its tray icon and hotkeys go
    // with it, and the message loop ends.
    tray_.Remove();
    hotKeys_.Release();
    screenAvailability_.Release();
    PostQuitMessage(0);
}

} // namespace app
