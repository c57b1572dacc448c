#include "picture/PictureMath.h"
#include "region/RubberBand.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

ui::Bitmap Gradient(int w, int h) {
    ui::Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.SetPixel(x, y, static_cast<std::uint32_t>((x * 7) << 16 | (y * 5) << 8 | ((x + y) & 0xFF)));
    return picture;
}

} // namespace

TEST(RubberBand, DrawingTheOutlineTwiceRestoresThePictureBitForBit) {
    ui::Bitmap picture = Gradient(64, 48);
    ui::Bitmap before;
    before.Assign(picture);
    region::DrawXorOutline(picture.Canvas(), {50, 40}, {10, 5}); // dragged up and left
    GdiFlush();
    EXPECT_EQ(picture.Pixel(10, 5), before.Pixel(10, 5) ^ 0xFFFF00u);
    EXPECT_EQ(picture.Pixel(50, 40), before.Pixel(50, 40) ^ 0xFFFF00u);
    EXPECT_EQ(picture.Pixel(30, 40), before.Pixel(30, 40) ^ 0xFFFF00u);
    EXPECT_EQ(picture.Pixel(30, 20), before.Pixel(30, 20)) << "the inside was drawn on";
    region::DrawXorOutline(picture.Canvas(), {50, 40}, {10, 5});
    GdiFlush();
    for (int y = 0; y < 48; ++y)
        ASSERT_EQ(std::memcmp(picture.Row(y), before.Row(y), 64 * 3), 0) << "row " << y;
}

TEST(RubberBand, CropIsTheDraggedSizeFromTheInsideInEitherDirection) {
    ui::Bitmap frozen = Gradient(400, 300);
    ui::Bitmap clean;
    clean.Assign(frozen);
    region::DrawXorOutline(frozen.Canvas(), {50, 60}, {250, 160});
    GdiFlush();

    const ui::Bitmap down = picture::CropRegion(frozen, {50, 60}, {250, 160});
    const ui::Bitmap up = picture::CropRegion(frozen, {250, 160}, {50, 60});
    ASSERT_EQ(down.Width(), 200);
    ASSERT_EQ(down.Height(), 100);
    ASSERT_EQ(up.Width(), 200);
    // 198 x 98 inside pixels stretched to 200 x 100: corners come from the
    // first and last inside pixels, and nothing of the outline is in it.
    EXPECT_EQ(down.Pixel(0, 0), clean.Pixel(51, 61));
    EXPECT_EQ(down.Pixel(199, 99), clean.Pixel(248, 158));
    // The same crop of the picture without the outline: no outline pixel made it in.
    const ui::Bitmap fromClean = picture::CropRegion(clean, {50, 60}, {250, 160});
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x) {
            ASSERT_EQ(down.Pixel(x, y), up.Pixel(x, y));
            ASSERT_EQ(down.Pixel(x, y), fromClean.Pixel(x, y)) << "outline pixel at " << x << "," << y;
        }

    EXPECT_TRUE(picture::CropRegion(frozen, {70, 70}, {70, 70}).Empty());
    EXPECT_TRUE(picture::CropRegion(frozen, {70, 70}, {90, 70}).Empty());
    const ui::Bitmap thin = picture::CropRegion(frozen, {70, 70}, {72, 80});
    EXPECT_EQ(thin.Width(), 2);
    EXPECT_EQ(thin.Height(), 10);
}
