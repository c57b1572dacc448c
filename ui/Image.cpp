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
    else if (dpi_ == kDesignDpi)
        picture_.Draw(dc, 0, 0);
    else
        picture_.Draw(dc, Scale(dpi_).Px(RECT{0, 0, picture_.Width(), picture_.Height()}));
}

void Image::ScaleContent(int, int toDpi) { dpi_ = toDpi; }

} // namespace ui
