#include "region/uDisplay.h"

TFrmDisplay* FrmDisplay = nullptr;

TFrmDisplay::TFrmDisplay() {
    CreateHost(L"TFrmDisplay",
               {.caption = L"Snapora", .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .width = 400, .height = 300});
}
