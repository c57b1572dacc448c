// The highlight frame laid around what an Object or Fixed Region capture will take.
#pragma once

#include "ui/HostWindow.h"

class TFrmSelectRect : public ui::HostWindow {
public:
    TFrmSelectRect();
};

extern TFrmSelectRect* FrmSelectRect;
