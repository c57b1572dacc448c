#include "settings/RealTimeSetting.h"

TFrmRealTimeSet::TFrmRealTimeSet() {
    CreateHost(
        L"TFrmRealTimeSet",
        {.caption = L"Snapora - Options", .style = WS_POPUP | WS_CAPTION | WS_SYSMENU, .width = 400, .height = 300});
}
