// The program's skin, shared by its windows: the font of their native
// controls, the look of the picture buttons with a caption under their
// picture, and the title-bar buttons cut out of one strip of pictures.
#pragma once

#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "ui/Bitmap.h"
#include "ui/Scale.h"

#include <windows.h>

namespace controls {

// SimSun of 9 points (12 pixels at 96 DPI) in the GB2312 character set, at
// a DPI; where SimSun is missing, the system's message font of the same
// size. Made once for each DPI and kept for the program's life, so every
// window can borrow it.
HFONT SkinFont(int dpi = ui::kDesignDpi);

// A picture button of the skin: no frame, the picture from an RCDATA
// resource, an optional caption in 11-pixel Verdana, the hand cursor.
struct SkinnedButtonLook {
    RECT bounds{};
    const wchar_t* picture = nullptr;
    const wchar_t* caption = nullptr; // null: no caption
    COLORREF captionColor = RGB(0, 0, 0);
};
void ApplySkin(PngButton& button, const SkinnedButtonLook& look);

// Gives button its three state pictures out of strip: the w x h cells at
// (x, y), (x, y + h) and (x, y + 2h) become its normal, hover and pressed
// pictures, each drawn transparent by the colour of its bottom-left pixel.
void SkinTitleButton(BitmapButton& button, const ui::Bitmap& strip, int x, int y, int w, int h);

} // namespace controls
