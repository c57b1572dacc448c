#include "capture/FrameGeometry.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

using support::SameRect;

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

TEST(FramePlacement, AWiderLineAtAScaleGrowsOutwardAndLeavesTheHoleAndTheWindowAlone) {
    // At 200 %, a 6-pixel line.
    const RECT window{100, 50, 300, 200};
    const auto object = capture::ObjectFrame(window, 6);
    EXPECT_EQ(object.bounds.left + object.ringOuter.left, window.left - 6);
    EXPECT_EQ(object.bounds.left + object.ringInner.left, window.left);
    EXPECT_EQ(object.bounds.top + object.ringInner.bottom, window.bottom);
    EXPECT_EQ(object.bounds.top + object.ringOuter.bottom, window.bottom + 6);

    const auto narrow = capture::FixedRegionFrame({500, 400}, 320, 240);
    const auto wide = capture::FixedRegionFrame({500, 400}, 320, 240, 6);
    EXPECT_EQ(3, capture::FrameWidening(6));
    // The hole, in screen terms, is where the 3-pixel line leaves it.
    EXPECT_EQ(narrow.bounds.left + narrow.ringInner.left, wide.bounds.left + wide.ringInner.left);
    EXPECT_EQ(narrow.bounds.top + narrow.ringInner.bottom, wide.bounds.top + wide.ringInner.bottom);
    EXPECT_EQ(narrow.bounds.left + narrow.ringInner.right, wide.bounds.left + wide.ringInner.right);
    EXPECT_EQ(6, wide.ringInner.left - wide.ringOuter.left);
    EXPECT_EQ(6, wide.ringOuter.right - wide.ringInner.right);
    EXPECT_EQ(6, wide.ringOuter.bottom - wide.ringInner.bottom);
}
