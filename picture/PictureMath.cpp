#include "picture/PictureMath.h"

#include <algorithm>

namespace picture {

std::optional<RECT> CropRectangle(int left, int top, int width, int height) {
    if (width == 0 || height == 0) return std::nullopt;
    const int right = left + width, bottom = top + height;
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

} // namespace picture
