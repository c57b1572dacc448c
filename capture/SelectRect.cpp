#include "capture/SelectRect.h"

TFrmSelectRect* FrmSelectRect = nullptr;

TFrmSelectRect::TFrmSelectRect() {
    CreateHost(L"TFrmSelectRect",
               {.caption = L"", .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .width = 400, .height = 300});
}
