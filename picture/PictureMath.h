// The arithmetic of the picture window: zoom steps and the crop rectangle.
#pragma once

#include <windows.h>

#include <optional>

namespace picture {

// One "Zoom In" step on a side: the exact ceiling of 6W/5.
constexpr int ZoomInSide(int side) { return static_cast<int>((6LL * side + 4) / 5); }
// One "Zoom Out" step on a side: the exact ceiling of 5W/6.
constexpr int ZoomOutSide(int side) { return static_cast<int>((5LL * side + 5) / 6); }

// The largest side a zoomed picture may have; a larger one would need
// gigabytes and is refused.
constexpr int kMaxZoomSide = 16384;

// The rectangle a crop frame cuts, in the frame's coordinates: a frame whose
// edges were dragged past each other cuts the rectangle between them; one of
// zero width or height cuts nothing.
std::optional<RECT> CropRectangle(int left, int top, int width, int height);

} // namespace picture
