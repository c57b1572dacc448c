#include "capture/FrameGeometry.h"

#include <gtest/gtest.h>

namespace {

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

} // namespace

TEST(FramePlacement, FixedRegionBoxAroundTheCursor) {
    const auto frame = capture::FixedRegionFrame({500, 400}, 320, 240);
    EXPECT_TRUE(SameRect(frame.bounds, {340, 280, 670, 530})); // 330 x 250 at (340, 280)
    // In screen terms the ring runs from (342, 282)-(658, 518) to (345, 285)-(655, 515).
    EXPECT_TRUE(SameRect(frame.ringOuter, {2, 2, 318, 238}));
    EXPECT_TRUE(SameRect(frame.ringInner, {5, 5, 315, 235}));

    // An odd width rounds the half down.
    EXPECT_EQ(capture::FixedRegionFrame({500, 400}, 101, 51).bounds.left, 450);
    EXPECT_EQ(capture::FixedRegionFrame({500, 400}, 101, 51).bounds.top, 375);
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
