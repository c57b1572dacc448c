#include "imaging/PngImage.h"

#include "ui/Bitmap.h"
#include "ui/Error.h"
#include "ui/Handles.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace imaging {

namespace {

struct MemoryReader {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t offset;
};

void ReadFromMemory(png_structp png, png_bytep out, png_size_t count) {
    auto* reader = static_cast<MemoryReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) png_error(png, "unexpected end of data");
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// What the decoder hands back; filled by DecodeInto, whose error path leaves by
// longjmp. No object with a destructor may live in that function's frame, so
// everything it allocates belongs to this record, created by the caller.
struct Decoded {
    png_uint_32 width = 0, height = 0;
    int colorType = 0;
    std::vector<std::uint8_t> interleaved; // the rows as libpng gives them
    std::size_t rowBytes = 0;
    std::vector<png_bytep> rows;
    std::vector<PngImage::PaletteEntry> palette;
    std::vector<std::uint8_t> transparency;
};

bool DecodeInto(png_structp png, png_infop info, MemoryReader* reader, Decoded* out) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_read_fn(png, reader, &ReadFromMemory);
    png_read_info(png, info);

    const int bitDepth = png_get_bit_depth(png, info);
    const int colorType = png_get_color_type(png, info);
    if (bitDepth == 16) png_set_strip_16(png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) {
        // Palette pictures stay palette pictures, one index per byte.
        if (bitDepth < 8) png_set_packing(png);
        png_colorp entries = nullptr;
        int count = 0;
        if (png_get_PLTE(png, info, &entries, &count) & PNG_INFO_PLTE) {
            out->palette.resize(static_cast<std::size_t>(count));
            for (int i = 0; i < count; ++i)
                out->palette[i] = {entries[i].red, entries[i].green, entries[i].blue};
        }
        png_bytep alphas = nullptr;
        int alphaCount = 0;
        if (png_get_tRNS(png, info, &alphas, &alphaCount, nullptr) & PNG_INFO_tRNS)
            out->transparency.assign(alphas, alphas + alphaCount);
    } else {
        if (colorType == PNG_COLOR_TYPE_GRAY && bitDepth < 8) png_set_expand_gray_1_2_4_to_8(png);
        // A single transparent colour becomes a real alpha channel.
        if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    out->width = png_get_image_width(png, info);
    out->height = png_get_image_height(png, info);
    out->colorType = png_get_color_type(png, info);
    out->rowBytes = png_get_rowbytes(png, info);
    out->interleaved.resize(out->rowBytes * out->height);
    out->rows.resize(out->height);
    for (png_uint_32 y = 0; y < out->height; ++y)
        out->rows[y] = out->interleaved.data() + y * out->rowBytes;
    png_read_image(png, out->rows.data());
    png_read_end(png, nullptr);
    return true;
}

} // namespace

PngImage::PngImage(int width, int height, ColorType type) : width_(width), height_(height), type_(type) {
    if (Empty()) {
        width_ = height_ = 0;
        return;
    }
    pixels_.assign(static_cast<std::size_t>(width_) * height_ * Channels(), 0);
    if (HasAlphaChannel()) alpha_.assign(static_cast<std::size_t>(width_) * height_, 0);
}

int PngImage::Channels() const { return type_ == ColorType::RGB || type_ == ColorType::RGBAlpha ? 3 : 1; }

PngImage PngImage::Decode(const void* data, std::size_t size) {
    if (size < 8 || png_sig_cmp(static_cast<png_const_bytep>(data), 0, 8) != 0)
        throw ui::Error(L"The picture is not a PNG image");
    // libpng's default handlers print to stderr; ours stay quiet and leave
    // through the jump buffer, and the failure becomes an Error below.
    png_structp png = png_create_read_struct(
        PNG_LIBPNG_VER_STRING, nullptr, [](png_structp p, png_const_charp) { png_longjmp(p, 1); },
        [](png_structp, png_const_charp) {});
    if (!png) throw std::bad_alloc();
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        throw std::bad_alloc();
    }
    MemoryReader reader{static_cast<const std::uint8_t*>(data), size, 0};
    Decoded decoded;
    const bool ok = DecodeInto(png, info, &reader, &decoded);
    png_destroy_read_struct(&png, &info, nullptr);
    if (!ok) throw ui::Error(L"The PNG image is damaged");

    ColorType type = ColorType::RGB;
    switch (decoded.colorType) {
    case PNG_COLOR_TYPE_GRAY:
        type = ColorType::Gray;
        break;
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        type = ColorType::GrayAlpha;
        break;
    case PNG_COLOR_TYPE_RGB:
        type = ColorType::RGB;
        break;
    case PNG_COLOR_TYPE_RGB_ALPHA:
        type = ColorType::RGBAlpha;
        break;
    case PNG_COLOR_TYPE_PALETTE:
        type = ColorType::Palette;
        break;
    default:
        throw ui::Error(L"The PNG image has an unknown colour type");
    }
    PngImage image(static_cast<int>(decoded.width), static_cast<int>(decoded.height), type);
    image.palette_ = std::move(decoded.palette);
    image.transparency_ = std::move(decoded.transparency);
    const int channels = image.Channels();
    const int stride = channels + (image.HasAlphaChannel() ? 1 : 0);
    for (int y = 0; y < image.height_; ++y) {
        const std::uint8_t* source = decoded.rows[y];
        std::uint8_t* colour = image.Row(y);
        if (!image.HasAlphaChannel()) {
            std::memcpy(colour, source, static_cast<std::size_t>(image.width_) * channels);
            continue;
        }
        // libpng interleaves alpha with the colour; we keep it as its own plane.
        std::uint8_t* alpha = image.AlphaRow(y);
        for (int x = 0; x < image.width_; ++x) {
            std::memcpy(colour + x * channels, source + x * stride, channels);
            alpha[x] = source[x * stride + channels];
        }
    }
    return image;
}

PngImage PngImage::FromResource(const wchar_t* name) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(module, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) throw ui::Error(L"Missing picture resource");
    HGLOBAL loaded = LoadResource(module, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data) throw ui::Error(L"Missing picture resource");
    return Decode(data, SizeofResource(module, found));
}

void PngImage::AddAlphaChannel() {
    switch (type_) {
    case ColorType::Gray:
        type_ = ColorType::GrayAlpha;
        break;
    case ColorType::RGB:
        type_ = ColorType::RGBAlpha;
        break;
    case ColorType::Palette:
        transparency_.assign(256, 255);
        return;
    default:
        return;
    }
    alpha_.assign(static_cast<std::size_t>(width_) * height_, 255);
}

std::uint32_t PngImage::Pixel(int x, int y) const {
    const std::uint8_t* p = Row(y) + x * Channels();
    std::uint32_t r = 0, g = 0, b = 0, a = 255;
    switch (type_) {
    case ColorType::Gray:
    case ColorType::GrayAlpha:
        r = g = b = p[0];
        break;
    case ColorType::RGB:
    case ColorType::RGBAlpha:
        r = p[0], g = p[1], b = p[2];
        break;
    case ColorType::Palette:
        if (p[0] < palette_.size()) {
            const PaletteEntry& e = palette_[p[0]];
            r = e.red, g = e.green, b = e.blue;
        }
        if (p[0] < transparency_.size()) a = transparency_[p[0]];
        break;
    }
    if (HasAlphaChannel()) a = AlphaRow(y)[x];
    return (a << 24) | (r << 16) | (g << 8) | b;
}

void PngImage::Draw(HDC dc, int x, int y) const { Draw(dc, {x, y, x + width_, y + height_}); }

void PngImage::Draw(HDC dc, const RECT& dest) const {
    if (Empty()) return;
    const BITMAPINFO info = ui::TopDownBitmapInfo(width_, height_);
    void* bits = nullptr;
    ui::UniqueBitmap dib(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return;
    // AlphaBlend with AC_SRC_ALPHA wants premultiplied colour.
    auto* out = static_cast<std::uint32_t*>(bits);
    for (int row = 0; row < height_; ++row) {
        for (int col = 0; col < width_; ++col) {
            const std::uint32_t p = Pixel(col, row);
            const std::uint32_t a = p >> 24;
            const std::uint32_t r = ((p >> 16) & 0xFF) * a / 255;
            const std::uint32_t g = ((p >> 8) & 0xFF) * a / 255;
            const std::uint32_t b = (p & 0xFF) * a / 255;
            *out++ = (a << 24) | (r << 16) | (g << 8) | b;
        }
    }
    ui::UniqueDC memory(CreateCompatibleDC(dc));
    ui::ScopedSelect select(memory.Get(), dib.Get());
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(dc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, memory.Get(), 0, 0, width_,
               height_, blend);
}

} // namespace imaging
