// Program entry: one copy per user session, the application title, the
// windows, the message loop.
#include "app/SnaporaApp.h"
#include "app/MainWindow.h"
#include "ui/Application.h"
#include "ui/Handles.h"

#include <windows.h>

namespace {

// Held for the program's life; a second copy started meanwhile finds it.
constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Snapora.SingleInstance";

// Brings the running copy's main window to the front, shown even when it
// was hidden in the tray.
void BringFirstCopyForward() {
    // The first copy may still be creating its window: give it a moment.
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (HWND first = FindWindowW(app::kMainWindowClass, nullptr)) {
            ShowWindow(first, SW_SHOW);
            SetForegroundWindow(first);
            return;
        }
        Sleep(100);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // A second copy would lack the hotkeys and fight over the capture key:
    // it hands over to the first and leaves config.ini, the hooks and the
    // hotkeys alone.
    ui::UniqueKernelHandle singleInstance(CreateMutexW(nullptr, FALSE, kSingleInstanceMutex));
    if (singleInstance && GetLastError() == ERROR_ALREADY_EXISTS) {
        BringFirstCopyForward();
        return 0;
    }

    ui::Application& application = ui::App();
    application.SetTitle(L"Velonix Capture");

    int exitCode = 1;
    application.Guard([&] {
        app::SnaporaApp snapora;
        exitCode = snapora.Run();
    });
    return exitCode;
}
