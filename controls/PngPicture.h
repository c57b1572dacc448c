// A windowless picture that shows a PngImage at its top-left corner, blended
// by its alpha over the host's background.
#pragma once

#include "ui/Control.h"
#include "imaging/PngImage.h"

namespace controls {

class PngPicture : public ui::Control {
public:
    const imaging::PngImage& Picture() const { return picture_; }
    // Shows a copy of picture and sizes the control to it.
    void SetPicture(const imaging::PngImage& picture);

    void Paint(HDC dc) override { picture_.Draw(dc, 0, 0); }

private:
    imaging::PngImage picture_;
};

} // namespace controls
