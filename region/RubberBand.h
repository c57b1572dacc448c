// The rubber band of the region selection screen and the crop it leads to.
#pragma once

#include "ui/Bitmap.h"

namespace region {

// XOR-draws the yellow outline of the rectangle with corners start and corner
// into dc as one closed five-vertex polyline. Every pixel of the outline is
// inverted exactly once, so drawing it again restores the picture bit for bit.
void DrawXorOutline(HDC dc, POINT start, POINT corner);

// The dragged rectangle with its corners put in order (Left <= Right, Top <= Bottom).
RECT NormalizedRegion(POINT start, POINT end);

// The picture of a selection: w x h (the dragged size) stretched from the
// (w - 2) x (h - 2) pixels inside the outline. A selection too thin to have an
// inside is copied as it lies; one of zero width or height gives an empty picture.
ui::Bitmap CropRegion(const ui::Bitmap& frozen, POINT start, POINT end);

} // namespace region
