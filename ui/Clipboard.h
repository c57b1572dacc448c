// The clipboard, for pictures.
#pragma once

#include "ui/Bitmap.h"

namespace ui {

// Empties the clipboard and puts the picture on it as a device-independent
// bitmap (CF_DIB; the system supplies CF_BITMAP from it). Another program may
// hold the clipboard for a moment, so opening is tried a few times before it
// fails with "Cannot open clipboard: another program (<name>) is using it.
// Try again in a moment.", the name when the system knows the holder.
void CopyBitmapToClipboard(const Bitmap& picture, HWND owner);

} // namespace ui
