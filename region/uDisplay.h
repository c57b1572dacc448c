// The region selection screen: the frozen picture of the screen on which a region is dragged out.
#pragma once

#include "ui/HostWindow.h"

class TFrmDisplay : public ui::HostWindow {
public:
    TFrmDisplay();
};

extern TFrmDisplay* FrmDisplay;
