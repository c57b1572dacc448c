#include "picture/PictureMath.h"
#include "imaging/ImageWriters.h"

#include <gtest/gtest.h>

using namespace picture;

TEST(Zoom, StepsAreExactCeilings) {
    // In: 100 -> 120 -> 144 -> 173; out: 100 -> 84 -> 70 -> 59.
    EXPECT_EQ(ZoomInSide(100), 120);
    EXPECT_EQ(ZoomInSide(120), 144);
    EXPECT_EQ(ZoomInSide(144), 173);
    EXPECT_EQ(ZoomOutSide(100), 84);
    EXPECT_EQ(ZoomOutSide(84), 70);
    EXPECT_EQ(ZoomOutSide(70), 59);
    EXPECT_EQ(ZoomOutSide(50), 42);
    EXPECT_EQ(ZoomOutSide(42), 35);
    EXPECT_EQ(ZoomOutSide(35), 30);
    // In then out need not come back: 101 -> 122 -> 102.
    EXPECT_EQ(ZoomInSide(101), 122);
    EXPECT_EQ(ZoomOutSide(122), 102);
    // Whole results are not rounded up; nothing drops below one pixel.
    EXPECT_EQ(ZoomInSide(5), 6);
    EXPECT_EQ(ZoomOutSide(6), 5);
    EXPECT_EQ(ZoomInSide(1), 2);
    EXPECT_EQ(ZoomOutSide(1), 1);
    // Large sides do not overflow on the way.
    EXPECT_EQ(ZoomInSide(1'000'000'000), 1'200'000'000);
}

TEST(Crop, RectangleIsNormalisedAndEmptyFramesCutNothing) {
    const auto plain = CropRectangle(24, 120, 153, 129);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->left, 24);
    EXPECT_EQ(plain->bottom, 249);

    // The left edge dragged 10 pixels past the right one.
    const auto crossed = CropRectangle(100, 50, -10, 20);
    ASSERT_TRUE(crossed);
    EXPECT_EQ(crossed->left, 90);
    EXPECT_EQ(crossed->right, 100);
    EXPECT_EQ(crossed->top, 50);
    EXPECT_EQ(crossed->bottom, 70);

    EXPECT_FALSE(CropRectangle(10, 10, 0, 50));
    EXPECT_FALSE(CropRectangle(10, 10, 50, 0));
}

TEST(SaveFormat, ExtensionDecidesInAnyLetterCase) {
    EXPECT_EQ(imaging::FormatForFileName(L"C:\\a\\shot.jpg"), imaging::ImageFormat::Jpeg);
    EXPECT_EQ(imaging::FormatForFileName(L"shot.JPEG"), imaging::ImageFormat::Jpeg);
    EXPECT_EQ(imaging::FormatForFileName(L"shot.Jpe"), imaging::ImageFormat::Jpeg);
    EXPECT_EQ(imaging::FormatForFileName(L"shot.PNG"), imaging::ImageFormat::Png);
    EXPECT_EQ(imaging::FormatForFileName(L"shot.bmp"), imaging::ImageFormat::Bmp);
    EXPECT_EQ(imaging::FormatForFileName(L"shot.gif"), imaging::ImageFormat::Bmp);
    EXPECT_EQ(imaging::FormatForFileName(L"C:\\my.pictures\\shot"), imaging::ImageFormat::Bmp);
    EXPECT_EQ(imaging::FileExtension(L"C:\\my.pictures\\shot"), L"");
    EXPECT_EQ(imaging::FileExtension(L"C:\\a\\shot.Png"), L".Png");
}
