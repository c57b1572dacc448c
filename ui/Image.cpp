#include "ui/Image.h"

#include <utility>

namespace ui {

void Image::SetPicture(const Bitmap& picture) {
    picture_.Assign(picture);
    Invalidate();
}

void Image::SetPicture(Bitmap&& picture) {
    picture_ = std::move(picture);
    Invalidate();
}

void Image::SetStretch(bool stretch) {
    if (stretch_ == stretch) return;
    stretch_ = stretch;
    Invalidate();
}

void Image::Paint(HDC dc) {
    if (stretch_)
        picture_.StretchDraw(dc, {0, 0, Width(), Height()});
    else if (dpi_ == pictureDpi_)
        picture_.Draw(dc, 0, 0);
    else
        picture_.Draw(dc, RECT{0, 0, Rescale(picture_.Width(), pictureDpi_, dpi_),
                               Rescale(picture_.Height(), pictureDpi_, dpi_)});
}

void Image::ScaleContent(int, int toDpi) {
    dpi_ = toDpi;
    Invalidate();
}

void Image::SetPictureDpi(int dpi) {
    pictureDpi_ = dpi;
    Invalidate();
}

} // namespace ui
