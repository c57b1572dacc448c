#include "region/RubberBand.h"

namespace region {

void DrawXorOutline(HDC dc, POINT s, POINT c) {
    ui::UniquePen pen(CreatePen(PS_SOLID, 1, RGB(255, 255, 0)));
    ui::ScopedSelect select(dc, pen.Get());
    const int oldRop = SetROP2(dc, R2_XORPEN);
    // Each segment covers its start pixel and not its end pixel, so the five
    // vertices cover every outline pixel once, the corners included.
    const POINT outline[5] = {{s.x, s.y}, {s.x, c.y}, {c.x, c.y}, {c.x, s.y}, {s.x, s.y}};
    Polyline(dc, outline, 5);
    SetROP2(dc, oldRop);
}

} // namespace region
