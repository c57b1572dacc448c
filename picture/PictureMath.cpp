#include "picture/PictureMath.h"

#include <algorithm>

namespace picture {

std::optional<RECT> CropRectangle(int left, int top, int width, int height) {
    if (width == 0 || height == 0) return std::nullopt;
    const int right = left + width, bottom = top + height;
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
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

} // namespace picture
