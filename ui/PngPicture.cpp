#include "ui/PngPicture.h"

namespace ui {

void PngPicture::SetPicture(const PngImage& picture) {
    picture_ = picture;
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

} // namespace ui
