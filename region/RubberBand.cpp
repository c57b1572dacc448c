#include "region/RubberBand.h"

#include <algorithm>

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

RECT NormalizedRegion(POINT start, POINT end) {
    return {std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x), std::max(start.y, end.y)};
}

ui::Bitmap CropRegion(const ui::Bitmap& frozen, POINT start, POINT end) {
    const RECT r = NormalizedRegion(start, end);
    const int w = r.right - r.left, h = r.bottom - r.top;
    ui::Bitmap picture(w, h, frozen.BitsPerPixel());
    if (picture.Empty()) return picture;
    RECT inside{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
    if (inside.right <= inside.left || inside.bottom <= inside.top) inside = r;
    picture.CopyRect({0, 0, w, h}, frozen, inside);
    return picture;
}

} // namespace region
