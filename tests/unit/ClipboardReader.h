// Reads the clipboard's bitmap (CF_DIB) back as other programs will see it.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

#include <cstring>

inline ui::Bitmap ReadClipboardDib() {
    ui::Bitmap result;
    if (!OpenClipboard(nullptr)) return result;
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(data));
        result.Reset(header->biWidth, header->biHeight, 24);
        const auto* rows = reinterpret_cast<const std::uint8_t*>(header + 1);
        for (int y = 0; y < result.Height(); ++y)
            std::memcpy(result.Row(y), rows + result.Stride() * (result.Height() - 1 - y), result.Width() * 3);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return result;
}
