#include "controls/PngPicture.h"

namespace controls {

void PngPicture::SetPicture(const imaging::PngImage& picture) {
    picture_ = picture;
    SetBounds(Left(), Top(), picture_.Width(), picture_.Height());
    Invalidate();
}

} // namespace controls
