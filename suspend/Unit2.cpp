#include "suspend/Unit2.h"

#include "capture/FrmCapture.h"
#include "ui/Application.h"

TFormSimple* FormSimple = nullptr;

TFormSimple::TFormSimple() {
    CreateHost(L"TFormSimple",
               {.caption = L"Snapora", .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .width = 400, .height = 300});
    // The program lives in the tray: from now on the main window is owned by
    // the application's hidden window, which takes its button off the taskbar.
    if (FrmCapture)
        SetWindowLongPtrW(FrmCapture->Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ui::App().HiddenOwner()));
}
