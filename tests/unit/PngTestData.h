// Builds small PNG files in memory with libpng, for the decoder and button tests.
#pragma once

#include <png.h>

#include <cstdint>
#include <vector>

namespace testing_support {

struct PngRecipe {
    int width = 2;
    int height = 2;
    int colorType = PNG_COLOR_TYPE_RGB_ALPHA;
    int bitDepth = 8;
    // Packed rows as libpng takes them (bit depth and colour type as above).
    std::vector<std::uint8_t> rows;
    std::vector<png_color> palette;
    std::vector<std::uint8_t> paletteAlpha;
    bool grayKey = false;
    png_color_16 key{};
};

inline std::vector<std::uint8_t> EncodePng(const PngRecipe& recipe) {
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(
        png, &out,
        [](png_structp p, png_bytep data, png_size_t n) {
            auto* o = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(p));
            o->insert(o->end(), data, data + n);
        },
        nullptr);
    png_set_IHDR(png, info, recipe.width, recipe.height, recipe.bitDepth, recipe.colorType, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (!recipe.palette.empty()) png_set_PLTE(png, info, recipe.palette.data(), static_cast<int>(recipe.palette.size()));
    if (!recipe.paletteAlpha.empty())
        png_set_tRNS(png, info, recipe.paletteAlpha.data(), static_cast<int>(recipe.paletteAlpha.size()), nullptr);
    if (recipe.grayKey) png_set_tRNS(png, info, nullptr, 0, &recipe.key);
    png_write_info(png, info);
    const size_t rowBytes = recipe.rows.size() / recipe.height;
    for (int y = 0; y < recipe.height; ++y)
        png_write_row(png, recipe.rows.data() + y * rowBytes);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

} // namespace testing_support
