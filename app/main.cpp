// Program entry: the application title, the windows in their fixed order, the
// message loop.
#include "capture/FrmCapture.h"
#include "ui/Application.h"

#include <windows.h>

#include <memory>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::Application& app = ui::App();
    app.SetTitle(L"Velonix Capture");

    int exitCode = 1;
    app.Guard([&] {
        auto frmCapture = std::make_unique<TFrmCapture>();
        FrmCapture = frmCapture.get();
        app.SetMainForm(frmCapture->Handle());
        exitCode = app.Run();
        FrmCapture = nullptr;
    });
    return exitCode;
}
