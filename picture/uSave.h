// The picture window: shows, zooms, crops, copies and saves a captured picture.
#pragma once

#include "ui/HostWindow.h"

class TFrmSave : public ui::HostWindow {
public:
    TFrmSave();
};

extern TFrmSave* FrmSave;
