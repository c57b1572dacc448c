// JPEG, PNG and BMP files from a Bitmap (24 or 32 bits per pixel; the fourth
// byte of a 32-bit pixel is ignored), over libjpeg-turbo, libpng and plain
// Win32 file writing. Each writer goes through ReplacingFile: the file
// appears complete or not at all, and a failure leaves the file it was to
// replace untouched. Failures throw ui::Error:
//   Cannot create file "<full name>". <system reason>
#pragma once

#include "ui/Bitmap.h"

#include <string>

namespace imaging {

class ReplacingFile;

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

// How PNG files are compressed. The scanlines are filtered here and deflated
// with zlib in horizontal strips on several threads at once, into one zlib
// stream; libpng writes the file around it. The defaults were chosen by
// measurement on 1920x1080 desktop-like content (bench.exe --png-sweep).
struct PngOptions {
    int CompressionLevel = 1; // zlib level, 1..9
    int Strategy = 0;         // zlib strategy: Z_DEFAULT_STRATEGY
    int Filter = 1;           // the PNG filter of every row: 0 None, 1 Sub, 2 Up
    int Threads = 0;          // strips compressed at once; 0: one per processor
};

void WriteJpeg(const ui::Bitmap& picture, const std::wstring& path, const JpegOptions& options = kSaveJpeg);
// The same into a file made beforehand (periodic capture makes it while the
// screen is read), which it commits.
void WriteJpeg(const ui::Bitmap& picture, ReplacingFile& file, const JpegOptions& options);
// 8-bit RGB, no alpha.
void WritePng(const ui::Bitmap& picture, const std::wstring& path, const PngOptions& options = {});
// The same into a file made beforehand, which it commits.
void WritePng(const ui::Bitmap& picture, ReplacingFile& file, const PngOptions& options = {});
// A 24-bit bottom-up Windows bitmap (BITMAPINFOHEADER, no compression).
void WriteBmp(const ui::Bitmap& picture, const std::wstring& path);

enum class ImageFormat { Jpeg, Png, Bmp };

// ".jpg", ".jpeg" and ".jpe" name JPEG, ".png" PNG, whatever their letter
// case; every other name is a Windows bitmap.
ImageFormat FormatForFileName(const std::wstring& fileName);

// The extension of a file name with its leading dot ("" when it has none).
std::wstring FileExtension(const std::wstring& fileName);

// Saves in the format the name asks for (JPEG with the Save settings).
void WritePictureFile(const ui::Bitmap& picture, const std::wstring& path);

} // namespace imaging
