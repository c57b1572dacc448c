// The suspend panel: the small floating toolbar that stands in for the hidden main window.
#pragma once

#include "ui/HostWindow.h"

class TFormSimple : public ui::HostWindow {
public:
    TFormSimple();
};

