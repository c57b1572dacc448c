#include "capture/FrmCapture.h"

#include "hook/hook.h"
#include "ui/Application.h"

TFrmCapture* FrmCapture = nullptr;

TFrmCapture::TFrmCapture() {
    ui::WindowCreateArgs args;
    args.caption = L"Snapora";
    args.style = WS_POPUP | WS_CLIPCHILDREN;
    args.x = 355;
    args.y = 153;
    args.width = 613;
    args.height = 481;
    CreateHandle({.name = L"TFrmCapture"}, args);
    FormCreate();
}

TFrmCapture::~TFrmCapture() = default;

void TFrmCapture::FormCreate() {
    EnableHotKeyHook();
    ConfigFile = std::make_unique<settings::IniFile>(settings::ConfigFilePath());
    LoadOptions();
}

void TFrmCapture::LoadOptions() {
    settings::LoadOptions(*ConfigFile, *this);
    if (StartupSuspend) ui::App().SetShowMainForm(false);
}

void TFrmCapture::FormClose() {
    DisableHotKeyHook();
    GetMouseDown();
    // The mouse hook may still be on if a tracked capture was under way.
    DisableMouseHook();
}

void TFrmCapture::FormDestroy() { ConfigFile.reset(); }

LRESULT TFrmCapture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        FormClose();
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        FormDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}
