// The program's skin, shared by its windows: the font of their native
// controls, the look of the picture buttons with a caption under their
// picture, and the title-bar buttons cut out of one strip of pictures.
#pragma once

#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "imaging/PngImage.h"
#include "ui/Bitmap.h"
#include "ui/Scale.h"

#include <windows.h>

namespace controls {

// SimSun of 9 points (12 pixels at 96 DPI) in the GB2312 character set, at
// a DPI; where SimSun is missing, the system's message font of the same
// size. Made once for each DPI and kept for the program's life, so every
// window can borrow it.
HFONT SkinFont(int dpi = ui::kDesignDpi);

// A picture of the skin drawn for the artwork scale nearest to a DPI (100,
// 150 or 200 %), with the DPI it is drawn for: the 100 % picture is the
// resource of that name, the others the PNG resource with the percentage
// after the name ("HEADER_LEFT_150"). Where the scaled one is missing, the
// 100 % picture serves.
template <typename Picture> struct ScaledPicture {
    Picture picture;
    int dpi = ui::kDesignDpi;
};
// From a BITMAP resource at 100 %, as a 24-bit bitmap.
ScaledPicture<ui::Bitmap> LoadSkinBitmap(const wchar_t* name, int dpi);
// From an RCDATA PNG resource at 100 %.
ScaledPicture<imaging::PngImage> LoadSkinPng(const wchar_t* name, int dpi);

// A picture button of the skin: no frame, the picture from an RCDATA
// resource, an optional caption in 11-pixel Verdana, the hand cursor.
struct SkinnedButtonLook {
    RECT bounds{};
    const wchar_t* picture = nullptr;
    const wchar_t* caption = nullptr; // null: no caption
    COLORREF captionColor = RGB(0, 0, 0);
};
// The picture follows the DPI of the button's host, at the nearest artwork scale.
void ApplySkin(PngButton& button, const SkinnedButtonLook& look);

// Gives button its three state pictures out of strip: the w x h cells at
// (x, y), (x, y + h) and (x, y + 2h) become its normal, hover and pressed
// pictures, each drawn transparent by the colour of its bottom-left pixel.
// The cells are given at 96 DPI and cut at the DPI the strip is drawn for.
void SkinTitleButton(BitmapButton& button, const ScaledPicture<ui::Bitmap>& strip, int x, int y, int w, int h);

} // namespace controls
