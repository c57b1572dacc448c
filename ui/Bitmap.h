// A raster picture: a top-down DIB section with direct pixel access and a
// memory DC (its canvas) for GDI drawing. Copies and stretches go through GDI.
#pragma once

#include "ui/Handles.h"

#include <cstdint>
#include <string>

namespace ui {

// The header of an uncompressed picture whose rows run top down, as every
// picture here is kept, of 32 (or 24) bits a pixel.
BITMAPINFO TopDownBitmapInfo(int width, int height, int bitsPerPixel = 32);

class Bitmap {
public:
    // The largest picture Snapora holds: a side of at most kMaxSide pixels
    // and at most kMaxPixels pixels in all (a 1 GB picture at 32 bits).
    static constexpr int kMaxSide = 16384;
    static constexpr long long kMaxPixels = 256LL * 1024 * 1024;
    // True when a picture of that size can be held.
    static bool SizeAllowed(int width, int height) {
        return width <= kMaxSide && height <= kMaxSide && static_cast<long long>(width) * height <= kMaxPixels;
    }
    // The message for a picture too large to hold.
    static std::wstring TooLargeMessage(int width, int height);

    Bitmap() = default;
    // A black picture of the given size; bitsPerPixel is 24 or 32. A size
    // beyond what SizeAllowed allows throws Error with TooLargeMessage,
    // before anything is allocated.
    Bitmap(int width, int height, int bitsPerPixel = 24);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;
    Bitmap(Bitmap&& other) noexcept;
    Bitmap& operator=(Bitmap&& other) noexcept;
    ~Bitmap();

    int Width() const { return width_; }
    int Height() const { return height_; }
    int BitsPerPixel() const { return bitsPerPixel_; }
    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int Stride() const { return stride_; }
    HBITMAP Handle() const { return dib_.Get(); }

    // The first byte of row y (rows run top to bottom; pixels are B, G, R[, A]).
    std::uint8_t* Row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
    const std::uint8_t* Row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }

    // Pixel as 0x00RRGGBB (alpha dropped).
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t rgb);

    // A memory DC with the picture selected, for GDI drawing. Call GdiFlush()
    // before touching pixels directly after drawing through it.
    HDC Canvas() const;

    // Changes the size, keeping the top-left part of the picture; new area is black.
    void SetSize(int width, int height);
    // Changes the size and the depth; the content is lost (all black).
    void Reset(int width, int height, int bitsPerPixel);

    // Makes this picture an exact copy of source (size, depth, pixels).
    void Assign(const Bitmap& source);

    // Copies sourceRect of source onto destRect of this picture: a plain copy
    // when the sizes agree, otherwise a nearest-neighbour stretch. Parts of
    // sourceRect outside source come out black.
    void CopyRect(const RECT& destRect, const Bitmap& source, const RECT& sourceRect);

    // Draws the picture on dc at (x, y). When Transparent is set, pixels of the
    // colour of the bottom-left pixel are left unpainted.
    void Draw(HDC dc, int x, int y) const;
    // The same, stretched over dest (nearest neighbour), Transparent heeded.
    void Draw(HDC dc, const RECT& dest) const;
    void StretchDraw(HDC dc, const RECT& dest) const;

    bool Transparent = false;

private:
    void Allocate(int width, int height, int bitsPerPixel);
    void ReleaseCanvas() const noexcept;

    int width_ = 0;
    int height_ = 0;
    int bitsPerPixel_ = 24;
    int stride_ = 0;
    std::uint8_t* bits_ = nullptr;
    UniqueBitmap dib_;
    // The canvas has dib_ selected; it is always released first, since GDI
    // refuses to delete a bitmap that is selected into a DC.
    mutable UniqueDC canvas_;
    mutable HGDIOBJ canvasOld_ = nullptr;
};

// Pixel for pixel the same size and colours; the unused fourth byte of a
// 32-bit pixel does not count, and pictures of different depths never match.
bool PixelsEqual(const Bitmap& a, const Bitmap& b);

} // namespace ui
