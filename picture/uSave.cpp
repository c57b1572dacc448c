#include "picture/uSave.h"

TFrmSave* FrmSave = nullptr;

TFrmSave::TFrmSave() {
    CreateHost(L"TFrmSave", {.caption = L"Snapora - Save Picture",
                             .style = WS_POPUP | WS_CAPTION | WS_SYSMENU,
                             .width = 400,
                             .height = 300});
}
