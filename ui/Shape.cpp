#include "ui/Shape.h"

#include "ui/Handles.h"

namespace ui {

void Shape::Paint(HDC dc) {
    if (Width() <= 0 || Height() <= 0) return;
    // A geometric pen with flat ends and mitred joins keeps the outline's
    // corners square and each pixel covered once, which matters in mask mode.
    LOGBRUSH brush{BS_SOLID, PenColor, 0};
    UniquePen pen(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, PenWidth, &brush, 0, nullptr));
    ScopedSelect selectPen(dc, pen.Get());
    ScopedSelect selectBrush(dc, GetStockObject(NULL_BRUSH));
    const int oldMode = SetROP2(dc, PenMode);
    // The pen is centred on the path; inset it so the whole line stays inside the bounds.
    const int inset = PenWidth / 2;
    Rectangle(dc, inset, inset, Width() - (PenWidth - 1 - inset), Height() - (PenWidth - 1 - inset));
    SetROP2(dc, oldMode);
}

} // namespace ui
