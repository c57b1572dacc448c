// A windowless rectangle outline, drawn with a pen in a chosen mix mode over
// whatever lies beneath; its interior is left transparent.
#pragma once

#include "ui/Control.h"

namespace ui {

class Shape : public Control {
public:
    COLORREF PenColor = RGB(0, 0, 0);
    int PenWidth = 1;
    // The pen's raster operation (R2_COPYPEN, R2_MASKPEN, ...).
    int PenMode = R2_COPYPEN;

    void Paint(HDC dc) override;
};

} // namespace ui
