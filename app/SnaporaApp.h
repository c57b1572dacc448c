// The application object: holds the settings and config.ini, creates the
// program's windows in their fixed order and owns them, owns the capture
// trigger, periodic capture, the tray and the global hotkeys, and acts on
// what the windows ask for. Everything a part depends on is built before it
// and handed to it by reference.
#pragma once

#include "app/GlobalHotKeys.h"
#include "app/MainWindow.h"
#include "app/Tray.h"
#include "capture/CaptureTrigger.h"
#include "capture/HighlightFrame.h"
#include "capture/PeriodicCapture.h"
#include "capture/ScreenAvailability.h"
#include "picture/PictureWindow.h"
#include "region/RegionScreen.h"
#include "settings/IniFile.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/Options.h"
#include "settings/OptionsWindow.h"
#include "suspend/SuspendPanel.h"
#include "ui/MessageWindow.h"
#include "ui/Monitors.h"

namespace app {

class SnaporaApp {
public:
    // Reads config.ini and creates the windows, all hidden.
    SnaporaApp();
    SnaporaApp(const SnaporaApp&) = delete;
    SnaporaApp& operator=(const SnaporaApp&) = delete;

    // Shows the main window, unless the settings say to start without it,
    // and runs the message loop until the main window is closed; its exit code.
    int Run();

    // Selecting a capture method checks its radio button alone and arms the trigger.
    void OnMethodChosen(capture::CaptureMethod method);
    // Selects the method, then asks the trigger for a capture, which follows
    // once the current message is handled.
    void CaptureWith(capture::CaptureMethod method);
    // Periodic capture as the "Real Time Capture" check box drives it: the
    // box is set, then its click is handled once (a start asks the user first).
    void RequestPeriodicCapture(bool start);
    // A global hotkey, matched on its modifiers and key.
    void OnHotKey(LPARAM modifiersAndKey);

    settings::CaptureOptions& Options() { return options_; }
    app::MainWindow& MainWindow() { return mainWindow_; }
    region::RegionScreen& RegionScreen() { return regionScreen_; }
    picture::PictureWindow& PictureWindow() { return pictureWindow_; }
    capture::HighlightFrame& HighlightFrame() { return highlightFrame_; }
    settings::OptionsWindow& OptionsWindow() { return optionsWindow_; }
    settings::MoreOptionsWindow& MoreOptionsWindow() { return moreOptionsWindow_; }
    suspend::SuspendPanel& SuspendPanel() { return suspendPanel_; }
    capture::CaptureTrigger& Trigger() { return trigger_; }
    capture::PeriodicCapture& Periodic() { return periodic_; }
    app::Tray& Tray() { return tray_; }
    const GlobalHotKeys& HotKeys() const { return hotKeys_; }
    const ui::MonitorWatch& MonitorWatch() const { return monitorWatch_; }

private:
    void ConnectMainWindow();
    void ConnectSuspendPanel();
    void ConnectTray();
    void OnCaptureRequested();
    void OnPeriodicSwitchClicked(bool checked);
    void OnMainWindowDestroyed();
    // Puts the hotkeys of the settings in force at once: registers them, sets
    // the capture key, and shows them in the tray menu and on the main window.
    void ApplyHotKeys();
    // One warning that names every hotkey another program holds, if any.
    void ReportRefusedHotKeys();
    void UpdateTrayTip();
    // Periodic capture writes nothing while the screen cannot be seen.
    void OnScreenAvailabilityChanged(bool changed);

    // Declared in creation order, so that they are destroyed in the reverse.
    settings::IniFile configFile_;
    settings::CaptureOptions options_;
    bool showMainWindowAtStart_;
    app::MainWindow mainWindow_;
    // Registered with the main window, before the other windows and the tray
    // icon: creating those answers other programs' messages, so a key pressed
    // as soon as the program answers must already be registered.
    GlobalHotKeys hotKeys_;
    region::RegionScreen regionScreen_;
    picture::PictureWindow pictureWindow_;
    capture::HighlightFrame highlightFrame_;
    settings::OptionsWindow optionsWindow_;
    settings::MoreOptionsWindow moreOptionsWindow_;
    suspend::SuspendPanel suspendPanel_;
    capture::CaptureTrigger trigger_;
    capture::PeriodicCapture periodic_;
    app::Tray tray_;
    ui::MessageWindow startNotices_;
    capture::ScreenAvailability screenAvailability_;
    // Brings the windows back to a monitor when theirs goes away.
    ui::MonitorWatch monitorWatch_;
};

} // namespace app
