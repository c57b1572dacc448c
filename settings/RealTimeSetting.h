// The Options window: cursor, start-up, fixed-region and periodic-capture settings.
#pragma once

#include "ui/HostWindow.h"

class TFrmRealTimeSet : public ui::HostWindow {
public:
    TFrmRealTimeSet();
};

