// The arithmetic of the picture window: zoom steps, the crop rectangle and
// the cut of a selected region.
#pragma once

#include "ui/Bitmap.h"

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

// A dragged rectangle with its corners put in order (Left <= Right, Top <= Bottom).
RECT NormalizedRegion(POINT start, POINT end);

// The picture of a selection on the region screen: w x h (the dragged size)
// stretched from the (w - 2) x (h - 2) pixels inside the rubber band's
// outline. A selection too thin to have an inside is copied as it lies; one of
// zero width or height gives an empty picture.
ui::Bitmap CropRegion(const ui::Bitmap& frozen, POINT start, POINT end);

} // namespace picture
