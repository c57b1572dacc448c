// The main window: owner of the capture state, the settings record and the
// settings file, the hotkey hook and the tray icon.
#pragma once

#include "settings/Options.h"
#include "ui/Window.h"

#include <memory>

class TFrmCapture : public ui::Window, public settings::CaptureOptions {
public:
    TFrmCapture();
    ~TFrmCapture() override;

    // config.ini beside the executable; every settings read and write goes through it.
    std::unique_ptr<settings::IniFile> ConfigFile;

    // Fills the settings fields from ConfigFile; with StartupSuspend set, the
    // main window is not shown when the message loop starts.
    void LoadOptions();

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void FormClose();
    void FormDestroy();
};

extern TFrmCapture* FrmCapture;
