// A decoded PNG picture as libpng delivers it: colour type, 8-bit samples,
// and for the alpha colour types one alpha byte per pixel, kept apart from
// the colour samples. It is a value: copying copies the picture. It draws
// itself at its own size, blended by its alpha over what lies beneath.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace imaging {

class PngImage {
public:
    enum class ColorType { Gray, GrayAlpha, RGB, RGBAlpha, Palette };

    struct PaletteEntry {
        std::uint8_t red = 0, green = 0, blue = 0;
    };

    PngImage() = default;

    // Decodes a PNG file image; throws ui::Error when the data is not a PNG
    // picture. Samples deeper than 8 bits are reduced to 8, grey samples of
    // fewer bits are widened to 8, and a tRNS colour key of a grey or RGB
    // picture becomes a real alpha channel.
    static PngImage Decode(const void* data, std::size_t size);
    // Decodes the PNG stored as an RCDATA resource of the executable.
    static PngImage FromResource(const wchar_t* name);

    // A picture of the given size and type with every sample and alpha byte 0.
    PngImage(int width, int height, ColorType type);

    bool Empty() const { return width_ <= 0 || height_ <= 0; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    ColorType Type() const { return type_; }
    bool HasAlphaChannel() const { return type_ == ColorType::GrayAlpha || type_ == ColorType::RGBAlpha; }
    // Bytes per pixel in the colour rows: 1 for grey and palette, 3 for RGB.
    int Channels() const;

    // Colour samples of row y (R, G, B for the RGB types; grey or palette index otherwise).
    std::uint8_t* Row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_ * Channels(); }
    const std::uint8_t* Row(int y) const { return pixels_.data() + static_cast<std::size_t>(y) * width_ * Channels(); }
    // Alpha bytes of row y (width bytes, 0 transparent, 255 opaque); only for the alpha types.
    std::uint8_t* AlphaRow(int y) { return alpha_.data() + static_cast<std::size_t>(y) * width_; }
    const std::uint8_t* AlphaRow(int y) const { return alpha_.data() + static_cast<std::size_t>(y) * width_; }

    std::vector<PaletteEntry>& Palette() { return palette_; }
    const std::vector<PaletteEntry>& Palette() const { return palette_; }
    // Opacity per palette index; indexes past its end are opaque.
    std::vector<std::uint8_t>& Transparency() { return transparency_; }
    const std::vector<std::uint8_t>& Transparency() const { return transparency_; }

    // Gives the picture an alpha channel if it has none: grey and RGB become
    // their alpha types with every alpha byte 255; a palette picture gets a
    // transparency table of 256 opaque entries.
    void AddAlphaChannel();

    // The pixel as premultiplied-free 0xAARRGGBB.
    std::uint32_t Pixel(int x, int y) const;

    // Draws the picture with its top-left corner at (x, y), blended by its alpha.
    void Draw(HDC dc, int x, int y) const;
    // Draws the picture stretched over dest, blended by its alpha.
    void Draw(HDC dc, const RECT& dest) const;

private:
    int width_ = 0;
    int height_ = 0;
    ColorType type_ = ColorType::RGB;
    std::vector<std::uint8_t> pixels_;
    std::vector<std::uint8_t> alpha_;
    std::vector<PaletteEntry> palette_;
    std::vector<std::uint8_t> transparency_;
};

} // namespace imaging
