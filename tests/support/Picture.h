// Pictures read back from the system as another program sees them: the
// screen, the clipboard, picture files decoded with the real libraries.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace support {

// Pixels as 0x00RRGGBB, rows top down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Width and height, to compare in one check.
    std::pair<int, int> Size() const { return {width, height}; }
};

// A colour the system gives as COLORREF (0x00BBGGRR), as a pixel.
constexpr std::uint32_t RgbOf(COLORREF colour) {
    return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

// What the screen shows in the rectangle; one pixel of it.
Picture GrabScreen(const RECT& area);
std::uint32_t ScreenPixel(POINT at);

// The bitmap on the clipboard (CF_DIB), if there is one, and its bits per
// pixel as written.
struct ClipboardPicture : Picture {
    int bitsPerPixel = 0;
};
std::optional<ClipboardPicture> ReadClipboardBitmap();
void ClearClipboard();

// A JPEG decoded to its end, or nothing: a file that does not decode, or
// one the library warns about (cut short, say), is no picture.
struct DecodedJpeg : Picture {
    int components = 0;
    bool progressive = false;
};
std::optional<DecodedJpeg> DecodeJpeg(const std::string& bytes);
std::optional<DecodedJpeg> DecodeJpegFile(const std::wstring& path);
// A PNG file decoded with libpng, or a BMP file read by the system, or
// nothing when the file is no such picture.
std::optional<Picture> DecodePngFile(const std::wstring& path);
std::optional<Picture> DecodeBmpFile(const std::wstring& path);

} // namespace support
