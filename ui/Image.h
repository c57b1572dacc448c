// A windowless picture: shows a Bitmap at its top-left corner, unscaled, or
// stretched over the whole control.
#pragma once

#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Scale.h"

namespace ui {

class Image : public Control {
public:
    const Bitmap& Picture() const { return picture_; }
    // The picture itself, to draw into; Invalidate the part that changed.
    Bitmap& Picture() { return picture_; }
    // Shows a copy of picture (its Transparent mark included).
    void SetPicture(const Bitmap& picture);
    // Shows picture itself, without copying it.
    void SetPicture(Bitmap&& picture);

    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    void Paint(HDC dc) override;
    // An unstretched picture is drawn scaled from the DPI it is drawn for
    // (96 unless told) to the host's.
    void ScaleContent(int fromDpi, int toDpi) override;
    void SetPictureDpi(int dpi);

private:
    Bitmap picture_;
    bool stretch_ = false;
    int dpi_ = kDesignDpi;
    int pictureDpi_ = kDesignDpi;
};

} // namespace ui
