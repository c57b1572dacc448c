// The application object: creates the program's windows in their fixed
// order, owns them for the program's life and wires them together.
#pragma once

#include "capture/CaptureTrigger.h"
#include "capture/HighlightFrame.h"
#include "capture/MainWindow.h"
#include "picture/PictureWindow.h"
#include "region/RegionScreen.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "suspend/SuspendPanel.h"

namespace app {

class SnaporaApp {
public:
    // Creates the windows; only the main window is shown, when the message
    // loop starts, and not even that with StartupSuspend set.
    SnaporaApp();
    SnaporaApp(const SnaporaApp&) = delete;
    SnaporaApp& operator=(const SnaporaApp&) = delete;

    // Runs the message loop until the main window is closed; its exit code.
    int Run();

    capture::MainWindow& MainWindow() { return mainWindow_; }
    region::RegionScreen& RegionScreen() { return regionScreen_; }
    picture::PictureWindow& PictureWindow() { return pictureWindow_; }
    capture::HighlightFrame& HighlightFrame() { return highlightFrame_; }
    settings::OptionsWindow& OptionsWindow() { return optionsWindow_; }
    settings::MoreOptionsWindow& MoreOptionsWindow() { return moreOptionsWindow_; }
    suspend::SuspendPanel& SuspendPanel() { return suspendPanel_; }
    capture::CaptureTrigger& Trigger() { return trigger_; }

private:
    // Declared in creation order, so that they are destroyed in the reverse:
    // the trigger goes first, the main window last.
    capture::MainWindow mainWindow_;
    region::RegionScreen regionScreen_;
    picture::PictureWindow pictureWindow_;
    capture::HighlightFrame highlightFrame_;
    settings::OptionsWindow optionsWindow_;
    settings::MoreOptionsWindow moreOptionsWindow_;
    suspend::SuspendPanel suspendPanel_;
    capture::CaptureTrigger trigger_;
};

} // namespace app
