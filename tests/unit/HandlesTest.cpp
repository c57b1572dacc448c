#include "ui/Bitmap.h"
#include "ui/Error.h"
#include "ui/Handles.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

bool IsGdiObjectAlive(HGDIOBJ object) { return GetObjectType(object) != 0; }

} // namespace

TEST(Handles, OwnerReleasesOnceAndMovesOwnership) {
    HBRUSH raw = CreateSolidBrush(RGB(1, 2, 3));
    {
        ui::UniqueBrush first(raw);
        ui::UniqueBrush second(std::move(first));
        EXPECT_FALSE(first);
        EXPECT_EQ(second.Get(), raw);
        ui::UniqueBrush third;
        third = std::move(second);
        EXPECT_TRUE(IsGdiObjectAlive(raw));
    }
    EXPECT_FALSE(IsGdiObjectAlive(raw)) << "the brush outlived its owner";

    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    ui::UniquePen owner(pen);
    HPEN released = owner.Release();
    EXPECT_FALSE(owner);
    EXPECT_TRUE(IsGdiObjectAlive(released));
    DeleteObject(released);

    static_assert(!std::is_copy_constructible_v<ui::UniqueDC>);
    static_assert(!std::is_copy_assignable_v<ui::UniqueRegion>);
}

TEST(Handles, ScopedSelectPutsTheOldObjectBack) {
    ui::UniqueDC dc(CreateCompatibleDC(nullptr));
    HGDIOBJ before = GetCurrentObject(dc.Get(), OBJ_BRUSH);
    ui::UniqueBrush brush(CreateSolidBrush(RGB(9, 9, 9)));
    {
        ui::ScopedSelect select(dc.Get(), brush.Get());
        EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), brush.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BRUSH), before);
}

TEST(Handles, WindowOwnerDestroysTheWindow) {
    HWND raw = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(raw);
    { ui::UniqueWindow window(raw); }
    EXPECT_FALSE(IsWindow(raw));
}

TEST(BitmapTest, PixelsCopiesAndStretches) {
    ui::Bitmap source(4, 2);
    EXPECT_EQ(source.Stride(), 12);
    source.SetPixel(0, 0, 0x112233);
    source.SetPixel(3, 1, 0xABCDEF);
    EXPECT_EQ(source.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(source.Pixel(1, 0), 0u) << "a new picture is black";

    ui::Bitmap copy;
    copy.Assign(source);
    EXPECT_EQ(copy.Width(), 4);
    EXPECT_EQ(copy.Pixel(3, 1), 0xABCDEFu);

    // Nearest-neighbour doubling repeats each pixel.
    ui::Bitmap big(8, 4);
    big.CopyRect({0, 0, 8, 4}, source, {0, 0, 4, 2});
    EXPECT_EQ(big.Pixel(0, 0), 0x112233u);
    EXPECT_EQ(big.Pixel(1, 1), 0x112233u);
    EXPECT_EQ(big.Pixel(7, 3), 0xABCDEFu);
    EXPECT_EQ(big.Pixel(6, 2), 0xABCDEFu);

    // A source rectangle reaching outside the picture gives black there.
    ui::Bitmap part(3, 2);
    part.CopyRect({0, 0, 3, 2}, source, {2, 0, 5, 2});
    EXPECT_EQ(part.Pixel(1, 1), 0xABCDEFu);
    EXPECT_EQ(part.Pixel(2, 1), 0u);
}

TEST(BitmapTest, APictureTooLargeToHoldIsRefusedBeforeAnythingIsAllocated) {
    EXPECT_TRUE(ui::Bitmap::SizeAllowed(16384, 16384));
    EXPECT_FALSE(ui::Bitmap::SizeAllowed(16385, 1));
    EXPECT_FALSE(ui::Bitmap::SizeAllowed(1, 30000));
    ui::Bitmap kept(3, 3);
    try {
        kept.Reset(30000, 30000, 24);
        FAIL() << "a 30000 x 30000 picture was allocated";
    } catch (const ui::Error& error) {
        EXPECT_NE(error.Message().find(L"30000 x 30000"), std::wstring::npos);
    }
    EXPECT_EQ(kept.Width(), 3) << "a refused size must leave the picture as it was";
}

TEST(BitmapTest, ResizeKeepsTheTopLeftAndMovesKeepTheCanvasUsable) {
    ui::Bitmap picture(2, 2, 32);
    picture.SetPixel(1, 1, 0x00FF00);
    picture.Canvas();
    picture.SetSize(3, 3);
    EXPECT_EQ(picture.Pixel(1, 1), 0x00FF00u);
    EXPECT_EQ(picture.Pixel(2, 2), 0u);

    ui::Bitmap moved(std::move(picture));
    EXPECT_TRUE(picture.Empty());
    RECT r{0, 0, 1, 1};
    FillRect(moved.Canvas(), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    GdiFlush();
    EXPECT_EQ(moved.Pixel(0, 0), 0xFFFFFFu);
    EXPECT_EQ(moved.BitsPerPixel(), 32);
}
