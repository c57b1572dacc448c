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
    // An unstretched picture, drawn up for 96 DPI, is drawn scaled to the DPI.
    void ScaleContent(int fromDpi, int toDpi) override;

private:
    Bitmap picture_;
    bool stretch_ = false;
    int dpi_ = kDesignDpi;
};

} // namespace ui
