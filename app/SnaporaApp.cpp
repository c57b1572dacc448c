#include "app/SnaporaApp.h"

#include "ui/Application.h"

namespace app {

SnaporaApp::SnaporaApp()
    : optionsWindow_(mainWindow_.Options(), mainWindow_.ConfigFile()),
      trigger_({highlightFrame_, regionScreen_, pictureWindow_}, mainWindow_.Options(),
               [this] { return mainWindow_.SelectedMethod(); }) {
    // The first window created is the main window: closing it ends the program.
    ui::App().SetMainWindow(mainWindow_.Handle());
    // The program lives in the tray: once the suspend panel exists, the main
    // window is owned by the application's hidden window, which takes its
    // button off the taskbar.
    SetWindowLongPtrW(mainWindow_.Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ui::App().HiddenOwner()));
    mainWindow_.ConnectTrigger(trigger_);
    pictureWindow_.OnClosed = [this] { trigger_.OnPictureClosed(); };
    regionScreen_.OnRegionSelected = [this](const ui::Bitmap& frozen, POINT start, POINT end) {
        trigger_.OnRegionSelected(frozen, start, end);
    };
    mainWindow_.OnShowSuspendPanel = [this] { ShowWindow(suspendPanel_.Handle(), SW_SHOWNOACTIVATE); };
    mainWindow_.OnHideSuspendPanel = [this] { ShowWindow(suspendPanel_.Handle(), SW_HIDE); };
    mainWindow_.OnShowOptions = [this] { optionsWindow_.ShowModal(); };
    mainWindow_.PeriodicMethod = [this] { return optionsWindow_.RealTimeMethod(); };
}

SnaporaApp::~SnaporaApp() { ui::App().SetMainWindow(nullptr); }

int SnaporaApp::Run() { return ui::App().Run(); }

} // namespace app
