// Fonts and the pictures stored in the executable's resources.
#pragma once

#include "ui/Bitmap.h"
#include "ui/Handles.h"

#include <string>

namespace ui {

// A font of the given face and character height in pixels.
UniqueFont CreateFontOf(const std::wstring& face, int pixelHeight, BYTE charset = DEFAULT_CHARSET,
                        int weight = FW_NORMAL);

// The size of text drawn in font.
SIZE TextExtent(HFONT font, const std::wstring& text);

// A BITMAP resource of the executable as a top-down 24-bit Bitmap; throws
// ui::Error when it is missing.
Bitmap LoadBitmapResource(const wchar_t* name);

// The executable's folder with its trailing separator.
std::wstring ExecutableFolder();

} // namespace ui
