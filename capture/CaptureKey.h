// Cutting the title-bar button pictures.
#pragma once

#include "controls/BitmapButton.h"
#include "ui/Bitmap.h"

namespace capture {

// Gives button its three state pictures out of strip: the w x h cells at
// (x, y), (x, y + h) and (x, y + 2h) become its normal, hover and pressed pictures, each
// drawn transparent by the colour of its bottom-left pixel.
void SkinTitleButton(controls::BitmapButton& button, const ui::Bitmap& strip, int x, int y, int w, int h);

} // namespace capture
