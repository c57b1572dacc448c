#include "suspend/Unit2.h"

TFormSimple::TFormSimple() {
    CreateHost(L"TFormSimple",
               {.caption = L"Snapora", .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .width = 400, .height = 300});
}
