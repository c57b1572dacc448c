#include "ui/Bitmap.h"

#include "ui/Error.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

namespace ui {

Bitmap::Bitmap(int width, int height, int bitsPerPixel) { Allocate(width, height, bitsPerPixel); }

Bitmap::Bitmap(Bitmap&& other) noexcept { *this = std::move(other); }

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
    if (this == &other) return *this;
    ReleaseCanvas();
    other.ReleaseCanvas();
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    bitsPerPixel_ = other.bitsPerPixel_;
    stride_ = std::exchange(other.stride_, 0);
    bits_ = std::exchange(other.bits_, nullptr);
    dib_ = std::move(other.dib_);
    Transparent = other.Transparent;
    return *this;
}

Bitmap::~Bitmap() { ReleaseCanvas(); }

void Bitmap::ReleaseCanvas() const noexcept {
    if (canvas_) {
        SelectObject(canvas_.Get(), canvasOld_);
        canvas_.Reset();
        canvasOld_ = nullptr;
    }
}

std::wstring Bitmap::TooLargeMessage(int width, int height) {
    return L"The picture would be " + std::to_wstring(width) + L" x " + std::to_wstring(height) +
           L" pixels, more than Snapora can hold (at most " + std::to_wstring(kMaxSide) +
           L" pixels on a side and 256 megapixels in all)";
}

BITMAPINFO TopDownBitmapInfo(int width, int height, int bitsPerPixel) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // negative: top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

void Bitmap::Allocate(int width, int height, int bitsPerPixel) {
    if (!SizeAllowed(width, height)) throw Error(TooLargeMessage(width, height));
    ReleaseCanvas();
    dib_.Reset();
    bits_ = nullptr;
    width_ = height_ = stride_ = 0;
    bitsPerPixel_ = bitsPerPixel == 32 ? 32 : 24;
    if (width <= 0 || height <= 0) return;

    const BITMAPINFO info = TopDownBitmapInfo(width, height, bitsPerPixel_);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!dib) throw std::bad_alloc();
    dib_.Reset(dib);
    bits_ = static_cast<std::uint8_t*>(bits);
    width_ = width;
    height_ = height;
    // DIB rows are padded to a multiple of four bytes.
    stride_ = ((width * bitsPerPixel_ + 31) / 32) * 4;
}

std::uint32_t Bitmap::Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + x * (bitsPerPixel_ / 8);
    return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
}

void Bitmap::SetPixel(int x, int y, std::uint32_t rgb) {
    std::uint8_t* p = Row(y) + x * (bitsPerPixel_ / 8);
    p[0] = static_cast<std::uint8_t>(rgb);
    p[1] = static_cast<std::uint8_t>(rgb >> 8);
    p[2] = static_cast<std::uint8_t>(rgb >> 16);
    if (bitsPerPixel_ == 32) p[3] = 0;
}

HDC Bitmap::Canvas() const {
    if (!canvas_) {
        canvas_.Reset(CreateCompatibleDC(nullptr));
        if (!canvas_) throw Error(L"Cannot create a drawing surface: " + SystemErrorText(GetLastError()));
        if (dib_) canvasOld_ = SelectObject(canvas_.Get(), dib_.Get());
    }
    return canvas_.Get();
}

void Bitmap::SetSize(int width, int height) {
    if (width == width_ && height == height_) return;
    Bitmap resized(width, height, bitsPerPixel_);
    resized.Transparent = Transparent;
    if (!resized.Empty() && !Empty()) {
        const int w = std::min(width, width_);
        const int h = std::min(height, height_);
        const int bytes = w * (bitsPerPixel_ / 8);
        GdiFlush();
        for (int y = 0; y < h; ++y)
            std::memcpy(resized.Row(y), Row(y), bytes);
    }
    *this = std::move(resized);
}

void Bitmap::Reset(int width, int height, int bitsPerPixel) { Allocate(width, height, bitsPerPixel); }

void Bitmap::Assign(const Bitmap& source) {
    if (this == &source) return;
    Allocate(source.width_, source.height_, source.bitsPerPixel_);
    Transparent = source.Transparent;
    if (Empty()) return;
    GdiFlush();
    std::memcpy(bits_, source.bits_, static_cast<size_t>(stride_) * height_);
}

void Bitmap::CopyRect(const RECT& d, const Bitmap& source, const RECT& s) {
    if (Empty() || source.Empty()) return;
    HDC dest = Canvas();
    HDC src = source.Canvas();
    const int dw = d.right - d.left, dh = d.bottom - d.top;
    const int sw = s.right - s.left, sh = s.bottom - s.top;
    // Whatever of the source rectangle lies outside the source picture has no
    // pixels to give: it comes out black rather than as stale memory.
    PatBlt(dest, d.left, d.top, dw, dh, BLACKNESS);
    if (dw == sw && dh == sh) {
        BitBlt(dest, d.left, d.top, dw, dh, src, s.left, s.top, SRCCOPY);
    } else {
        SetStretchBltMode(dest, COLORONCOLOR);
        StretchBlt(dest, d.left, d.top, dw, dh, src, s.left, s.top, sw, sh, SRCCOPY);
    }
    GdiFlush();
}

void Bitmap::Draw(HDC dc, int x, int y) const {
    if (Empty()) return;
    if (Transparent) {
        Draw(dc, RECT{x, y, x + width_, y + height_});
    } else {
        BitBlt(dc, x, y, width_, height_, Canvas(), 0, 0, SRCCOPY);
    }
}

void Bitmap::Draw(HDC dc, const RECT& d) const {
    if (Empty()) return;
    if (!Transparent) return StretchDraw(dc, d);
    const std::uint32_t key = Pixel(0, height_ - 1);
    const COLORREF colour = RGB((key >> 16) & 0xFF, (key >> 8) & 0xFF, key & 0xFF);
    TransparentBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, Canvas(), 0, 0, width_, height_, colour);
}

void Bitmap::StretchDraw(HDC dc, const RECT& d) const {
    if (Empty()) return;
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, d.left, d.top, d.right - d.left, d.bottom - d.top, Canvas(), 0, 0, width_, height_, SRCCOPY);
}

bool PixelsEqual(const Bitmap& a, const Bitmap& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitsPerPixel() != b.BitsPerPixel()) return false;
    if (a.Empty()) return true;
    // Drawing through either canvas may still be queued in GDI.
    GdiFlush();
    const size_t rowBytes = static_cast<size_t>(a.Width()) * static_cast<size_t>(a.BitsPerPixel() / 8);
    for (int y = 0; y < a.Height(); ++y) {
        const std::uint8_t *rowA = a.Row(y), *rowB = b.Row(y);
        // Whole rows first: that settles almost every row at memory speed.
        if (std::memcmp(rowA, rowB, rowBytes) == 0) continue;
        if (a.BitsPerPixel() != 32) return false;
        for (size_t i = 0; i < rowBytes; i += 4)
            if (std::memcmp(rowA + i, rowB + i, 3) != 0) return false;
    }
    return true;
}

} // namespace ui
