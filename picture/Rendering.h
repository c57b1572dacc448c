// The picture as the window shows it: the master zoomed by nearest-neighbour
// sampling, with its marks drawn in. What Save writes and Copy copies.
#pragma once

#include "picture/Marks.h"
#include "ui/Bitmap.h"

#include <vector>

namespace picture {

// Draws a part of source zoomed to the size shown (of the same depth) into
// destination: destination's pixel (x, y) is the pixel (from.x + x, from.y + y)
// of the zoomed picture, which takes the source pixel under its centre, so
// rows and columns are repeated or dropped, never blended. Destination pixels
// that fall outside the zoomed picture are left as they are.
void StretchNearestPart(const ui::Bitmap& source, SIZE shown, POINT from, ui::Bitmap& destination);
// The whole of source over the whole of destination.
void StretchNearest(const ui::Bitmap& source, ui::Bitmap& destination);

// Where the master's pixels land on a picture of the given size.
MarkTransform ZoomTransform(const ui::Bitmap& master, int width, int height);

// The master zoomed to width x height with the marks drawn in, flattened.
ui::Bitmap RenderMarked(const ui::Bitmap& master, const std::vector<Mark>& marks, int width, int height);

} // namespace picture
