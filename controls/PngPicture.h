// A windowless picture that shows a PngImage, blended by its alpha over the
// host's background: at its own size, or scaled with the control.
#pragma once

#include "ui/Control.h"
#include "imaging/PngImage.h"

namespace controls {

class PngPicture : public ui::Control {
public:
    const imaging::PngImage& Picture() const { return picture_; }
    // Shows a copy of picture and sizes the control to it.
    void SetPicture(const imaging::PngImage& picture);

    // The picture is drawn over the whole control, which the host scales.
    void Paint(HDC dc) override { picture_.Draw(dc, RECT{0, 0, Width(), Height()}); }

private:
    imaging::PngImage picture_;
};

} // namespace controls
