// Program entry: the application title, the windows in their fixed order, the
// message loop.
#include "capture/FrmCapture.h"
#include "capture/SelectRect.h"
#include "picture/uSave.h"
#include "region/uDisplay.h"
#include "settings/RealTimeSetting.h"
#include "suspend/Unit2.h"
#include "ui/Application.h"

#include <windows.h>

#include <memory>

namespace {

// Creates a window as its global instance; it lives until the program ends.
template <typename T> std::unique_ptr<T> CreateForm(T*& global) {
    auto form = std::make_unique<T>();
    global = form.get();
    return form;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::Application& app = ui::App();
    app.SetTitle(L"Velonix Capture");

    int exitCode = 1;
    app.Guard([&] {
        // The first window created is the main form.
        auto frmCapture = CreateForm(FrmCapture);
        app.SetMainForm(frmCapture->Handle());
        auto frmDisplay = CreateForm(FrmDisplay);
        auto frmSave = CreateForm(FrmSave);
        auto frmSelectRect = CreateForm(FrmSelectRect);
        auto frmRealTimeSet = CreateForm(FrmRealTimeSet);
        auto formSimple = CreateForm(FormSimple);
        exitCode = app.Run();
        FormSimple = nullptr, FrmRealTimeSet = nullptr, FrmSelectRect = nullptr;
        FrmSave = nullptr, FrmDisplay = nullptr, FrmCapture = nullptr;
    });
    return exitCode;
}
