// Program entry: the application title, the windows, the message loop.
#include "app/SnaporaApp.h"
#include "ui/Application.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::Application& application = ui::App();
    application.SetTitle(L"Velonix Capture");

    int exitCode = 1;
    application.Guard([&] {
        app::SnaporaApp snapora;
        exitCode = snapora.Run();
    });
    return exitCode;
}
