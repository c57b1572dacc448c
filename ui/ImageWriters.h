// JPEG, PNG and BMP files from a Bitmap (24 or 32 bits per pixel; the fourth
// byte of a 32-bit pixel is ignored), over libjpeg-turbo, libpng and plain
// Win32 file writing. Each writer goes through ReplacingFile: the file
// appears complete or not at all, and a failure leaves the file it was to
// replace untouched. Failures throw ui::Error:
//   Cannot create file "<full name>". <system reason>
#pragma once

#include "ui/Bitmap.h"

#include <string>

namespace ui {

struct JpegOptions {
    // 1..100, through jpeg_set_quality with baseline (8-bit) tables.
    int Quality = 95;
    // true: the library's default 2x2 chroma subsampling (4:2:0);
    // false: full-resolution chroma (4:4:4), which keeps coloured text sharp.
    bool ChromaSubsampling = false;
};

// Real-time capture: quality 100, baseline tables, 24-bit colour,
// sequential, everything else at libjpeg's defaults.
inline constexpr JpegOptions kRealTimeJpeg{.Quality = 100, .ChromaSubsampling = true};
// The picture window's Save: quality 95 without chroma subsampling.
inline constexpr JpegOptions kSaveJpeg{.Quality = 95, .ChromaSubsampling = false};

// zlib and filter settings under libpng. The defaults were chosen by
// measurement on 1920x1080 desktop-like content (bench.exe --png-sweep): the
// Sub filter alone gives the smallest file at every zlib level on screenshots
// (flat runs and anti-aliased text), and level 3 with it is as small as
// libpng's own default (level 6, Z_FILTERED, adaptive filters) in about a
// third of the time; higher levels buy a few per cent for twice the time.
struct PngOptions {
    int CompressionLevel = 3; // zlib level, 0..9
    int Strategy = 0;         // zlib strategy: Z_DEFAULT_STRATEGY
    int Filters = 0x10;       // libpng filter mask: PNG_FILTER_SUB
};

void WriteJpeg(const Bitmap& picture, const std::wstring& path, const JpegOptions& options = kSaveJpeg);
// 8-bit RGB, no alpha.
void WritePng(const Bitmap& picture, const std::wstring& path, const PngOptions& options = {});
// A 24-bit bottom-up Windows bitmap (BITMAPINFOHEADER, no compression).
void WriteBmp(const Bitmap& picture, const std::wstring& path);

enum class ImageFormat { Jpeg, Png, Bmp };

// ".jpg", ".jpeg" and ".jpe" name JPEG, ".png" PNG, whatever their letter
// case; every other name is a Windows bitmap.
ImageFormat FormatForFileName(const std::wstring& fileName);

// The extension of a file name with its leading dot ("" when it has none).
std::wstring FileExtension(const std::wstring& fileName);

// Saves in the format the name asks for (JPEG with the Save settings).
void WritePictureFile(const Bitmap& picture, const std::wstring& path);

} // namespace ui
