#include "capture/FrameGeometry.h"
#include "picture/PictureMath.h"
#include "region/RubberBand.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

ui::Bitmap Gradient(int w, int h) {
    ui::Bitmap picture(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.SetPixel(x, y, static_cast<std::uint32_t>((x * 7) << 16 | (y * 5) << 8 | ((x + y) & 0xFF)));
    return picture;
}

} // namespace

TEST(FramePlacement, FixedRegionBoxAroundTheCursor) {
    const auto frame = capture::FixRegionFrame({500, 400}, 320, 240);
    EXPECT_TRUE(SameRect(frame.bounds, {340, 280, 670, 530})); // 330 x 250 at (340, 280)
    // In screen terms the ring runs from (342, 282)-(658, 518) to (345, 285)-(655, 515).
    EXPECT_TRUE(SameRect(frame.ringOuter, {2, 2, 318, 238}));
    EXPECT_TRUE(SameRect(frame.ringInner, {5, 5, 315, 235}));

    // An odd width rounds the half down.
    EXPECT_EQ(capture::FixRegionFrame({500, 400}, 101, 51).bounds.left, 450);
    EXPECT_EQ(capture::FixRegionFrame({500, 400}, 101, 51).bounds.top, 375);
}

TEST(FramePlacement, ObjectRingLiesJustOutsideTheWindow) {
    const RECT window{100, 50, 300, 200};
    const auto frame = capture::ObjectFrame(window);
    EXPECT_TRUE(SameRect(frame.bounds, {95, 45, 305, 205}));
    // The band covers 3 to 1 pixels outside the window and never the window itself.
    EXPECT_EQ(frame.bounds.left + frame.ringOuter.left, window.left - 3);
    EXPECT_EQ(frame.bounds.left + frame.ringInner.left, window.left);
    EXPECT_EQ(frame.bounds.left + frame.ringInner.right, window.right);
    EXPECT_EQ(frame.bounds.top + frame.ringOuter.bottom, window.bottom + 3);

    // The region set on a real window has exactly that shape.
    HWND hwnd =
        CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    capture::ApplyHighlightFrame(hwnd, frame);
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(hwnd, region), ERROR);
    EXPECT_TRUE(PtInRegion(region, 2, 2));
    EXPECT_TRUE(PtInRegion(region, 4, 100));
    EXPECT_FALSE(PtInRegion(region, 5, 100)) << "the ring covers the window's own edge";
    EXPECT_FALSE(PtInRegion(region, 1, 100));
    EXPECT_TRUE(PtInRegion(region, 207, 100));
    EXPECT_FALSE(PtInRegion(region, 208, 100));
    DeleteObject(region);
    DestroyWindow(hwnd);
}

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
