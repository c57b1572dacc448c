#include "app/SnaporaApp.h"

#include "ui/Application.h"

namespace app {

SnaporaApp::SnaporaApp()
    : optionsWindow_(mainWindow_.Options(), mainWindow_.ConfigFile()),
      moreOptionsWindow_(mainWindow_.Options(), mainWindow_.ConfigFile()),
      trigger_({highlightFrame_, regionScreen_, pictureWindow_}, mainWindow_.Options(),
               [this] { return mainWindow_.SelectedMethod(); }) {
    mainWindow_.ConnectTrigger(trigger_);
    pictureWindow_.OnClosed = [this] { trigger_.OnPictureClosed(); };
    regionScreen_.OnRegionSelected = [this](const ui::Bitmap& frozen, POINT start, POINT end) {
        trigger_.OnRegionSelected(frozen, start, end);
    };
    mainWindow_.OnShowSuspendPanel = [this] { suspendPanel_.ShowPanel(); };
    mainWindow_.OnHideSuspendPanel = [this] { suspendPanel_.HidePanel(); };
    mainWindow_.OnShowOptions = [this] { optionsWindow_.ShowModal(); };
    // Saved hotkeys are in force at once; the ones another program holds are
    // named in one message, and marked in More Options.
    optionsWindow_.OnShowMoreOptions = [this] { moreOptionsWindow_.ShowModal(mainWindow_.HotKeys().Refused()); };
    optionsWindow_.OnReset = [this] { moreOptionsWindow_.OnHotKeysChanged(); };
    moreOptionsWindow_.OnHotKeysChanged = [this] {
        mainWindow_.ApplyHotKeys();
        mainWindow_.ReportRefusedHotKeys();
        return mainWindow_.HotKeys().Refused();
    };
    mainWindow_.PeriodicMethod = [this] { return optionsWindow_.RealTimeMethod(); };

    suspendPanel_.OnCaptureWith = [this](capture::CaptureMethod method) { mainWindow_.CaptureWith(method); };
    suspendPanel_.OnStartPeriodic = [this] { mainWindow_.RequestPeriodicCapture(true); };
    suspendPanel_.OnStopPeriodic = [this] { mainWindow_.RequestPeriodicCapture(false); };
    suspendPanel_.OnShowOptions = [this] { optionsWindow_.ShowModal(); };
    suspendPanel_.OnShowMainWindow = [this] { mainWindow_.Reveal(); };
    suspendPanel_.OnQuit = [this] { mainWindow_.OnClose(); };
}

int SnaporaApp::Run() { return ui::App().Run(); }

} // namespace app
