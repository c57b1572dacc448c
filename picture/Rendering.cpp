#include "picture/Rendering.h"

#include "imaging/Parallel.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace picture {

void StretchNearestPart(const ui::Bitmap& source, SIZE shown, POINT from, ui::Bitmap& destination) {
    if (source.Empty() || destination.Empty() || shown.cx <= 0 || shown.cy <= 0) return;
    // Drawing through either canvas may still be queued in GDI.
    GdiFlush();
    const int sw = source.Width(), sh = source.Height();
    const int pixelBytes = source.BitsPerPixel() / 8;
    // The destination columns and rows that show some of the zoomed picture.
    const int x0 = std::max(0, static_cast<int>(-from.x)),
              x1 = std::min(destination.Width(), static_cast<int>(shown.cx - from.x));
    const int y0 = std::max(0, static_cast<int>(-from.y)),
              y1 = std::min(destination.Height(), static_cast<int>(shown.cy - from.y));
    if (x0 >= x1 || y0 >= y1) return;
    const std::size_t rowBytes = static_cast<std::size_t>(x1 - x0) * pixelBytes;
    const auto sample = [](int at, int from, int to) {
        return static_cast<int>(std::min<long long>(from - 1, (2LL * at + 1) * from / (2LL * to)));
    };
    // The byte offset in a source row of each destination column.
    std::vector<int> columns(static_cast<std::size_t>(x1 - x0));
    for (int x = x0; x < x1; ++x)
        columns[static_cast<std::size_t>(x - x0)] = sample(x + from.x, sw, shown.cx) * pixelBytes;
    const bool sameColumns = sw == shown.cx;
    const auto stretchRows = [&](int first, int end) {
        int lastSource = -1;
        for (int y = first; y < end; ++y) {
            const int sy = sample(y + from.y, sh, shown.cy);
            std::uint8_t* to = destination.Row(y) + x0 * pixelBytes;
            // A repeated source row is the row just made, copied whole.
            if (sy == lastSource) {
                std::memcpy(to, destination.Row(y - 1) + x0 * pixelBytes, rowBytes);
                continue;
            }
            lastSource = sy;
            const std::uint8_t* row = source.Row(sy);
            if (sameColumns) {
                std::memcpy(to, row + columns[0], rowBytes);
            } else if (pixelBytes == 4) {
                for (std::size_t x = 0; x < columns.size(); ++x)
                    std::memcpy(to + 4 * x, row + columns[x], 4);
            } else {
                for (std::size_t x = 0; x < columns.size(); ++x)
                    std::memcpy(to + 3 * x, row + columns[x], 3);
            }
        }
    };
    // Below a megapixel the pool's threads cost more than they save; above
    // it, bands of rows go to them.
    const int rows = y1 - y0;
    const int bands = static_cast<long long>(x1 - x0) * rows < 1024 * 1024 ? 1 : 8;
    imaging::RunInParallel(bands, 0,
                           [&](int band) { stretchRows(y0 + rows * band / bands, y0 + rows * (band + 1) / bands); });
}

void StretchNearest(const ui::Bitmap& source, ui::Bitmap& destination) {
    StretchNearestPart(source, {destination.Width(), destination.Height()}, {0, 0}, destination);
}

MarkTransform ZoomTransform(const ui::Bitmap& master, int width, int height) {
    if (master.Empty()) return {};
    return {static_cast<double>(width) / master.Width(), static_cast<double>(height) / master.Height(), 0, 0};
}

ui::Bitmap RenderMarked(const ui::Bitmap& master, const std::vector<Mark>& marks, int width, int height) {
    ui::Bitmap picture(width, height, master.BitsPerPixel());
    StretchNearest(master, picture);
    if (!marks.empty() && !picture.Empty()) {
        DrawMarks(picture.Canvas(), marks, ZoomTransform(master, width, height));
        GdiFlush();
    }
    return picture;
}

} // namespace picture
