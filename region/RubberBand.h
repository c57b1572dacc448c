// The rubber band of the region selection screen.
#pragma once

#include "ui/Bitmap.h"

namespace region {

// XOR-draws the yellow outline of the rectangle with corners start and corner
// into dc as one closed five-vertex polyline. Every pixel of the outline is
// inverted exactly once, so drawing it again restores the picture bit for bit.
void DrawXorOutline(HDC dc, POINT start, POINT corner);

} // namespace region
