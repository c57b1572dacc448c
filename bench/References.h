// The references that the program's figures are judged against: what the
// platform and the libraries cost on their own, used the plainest way.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

#include <string>

namespace bench {

// The platform's cost of reading the screen: one display-wide BitBlt into a
// DIB section that is allocated once and reused, from a display DC that is
// opened once.
class FloorGrab {
public:
    FloorGrab();
    ~FloorGrab();
    FloorGrab(const FloorGrab&) = delete;
    FloorGrab& operator=(const FloorGrab&) = delete;

    void Grab();
    const ui::Bitmap& Picture() const { return picture_; }

private:
    HDC display_;
    ui::Bitmap picture_;
};

// libjpeg-turbo encoding a picture into memory: quality with baseline
// tables, the library's 2x2 chroma subsampling or none. Gives the size in bytes.
class MemoryJpeg {
public:
    MemoryJpeg() = default;
    ~MemoryJpeg();
    MemoryJpeg(const MemoryJpeg&) = delete;
    MemoryJpeg& operator=(const MemoryJpeg&) = delete;

    unsigned long Encode(const ui::Bitmap& picture, int quality, bool chromaSubsampling);

private:
    unsigned char* buffer_ = nullptr;
    unsigned long size_ = 0;
};

// libpng at its default settings (zlib level 6, Z_FILTERED, adaptive choice
// among all five filters), written through the same file layer as the
// program's writers.
void WritePngLibpngDefaults(const ui::Bitmap& picture, const std::wstring& path);

// The bytes of a file of that size written through the same file layer: what
// a writer costs that does nothing but write.
void WriteZeroFile(const std::wstring& path, long long bytes);

long long FileBytes(const std::wstring& path);

} // namespace bench
