// The real program at the display scale of the session: tools/test.sh runs
// these cases on desktops of 144 and 192 DPI (CTest's scale_144 and
// scale_192), and they hold at 96 DPI too. The windows grow by DPI / 96;
// captures stay in the screen's own pixels.
#include "CaptureSession.h"
#include "region/RegionScreen.h"

namespace e2e {

class Scaled : public CaptureSession {
protected:
    static void SetUpTestSuite() { dpi = BecomeDpiAware(); }
    static int Px(int design) { return MulDiv(design, dpi, 96); }
    static inline int dpi = 96;
};

TEST_F(Scaled, TheMainWindowGrowsWithTheDpiAndARegionDragKeepsTheScreensPixels) {
    Start();
    RECT client{};
    GetClientRect(main, &client);
    EXPECT_NEAR(Px(613), client.right, 1) << dpi << " DPI";
    EXPECT_NEAR(Px(481), client.bottom, 1) << dpi << " DPI";
    // The method buttons are laid out at the scale, and the window stays
    // on the screen.
    HWND region = FindWindowExW(main, nullptr, L"Button", L"Selected Region");
    ASSERT_NE(region, nullptr);
    RECT radio{};
    GetClientRect(region, &radio);
    EXPECT_NEAR(Px(113), radio.right, 1);
    RECT window = support::WindowRectOf(main);
    EXPECT_LE(window.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(window.bottom, GetSystemMetrics(SM_CYSCREEN));

    // A drag of 300 x 200 screen pixels on the region screen gives a
    // picture of 300 x 200, whatever the scale.
    support::MoveMouse({Px(1200), Px(980)});
    TypeCaptureKey();
    HWND display = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the region screen did not open";
    support::Drag({Px(200), Px(150)}, {Px(200) + 300, Px(150) + 200});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    EXPECT_EQ(300, shot.width);
    EXPECT_EQ(200, shot.height);

    // At "Original" the picture window paints one picture pixel to one
    // screen pixel: the screen there shows the picture itself.
    Click(Toolbar(save, 255, 73));
    POINT corner = ScreenPoint(save, {20, Px(picture::PictureToolbar::kHeight) + 20});
    Picture painted;
    EXPECT_TRUE(WaitUntil(
        [&] {
            painted = GrabScreen({corner.x, corner.y, corner.x + shot.width, corner.y + shot.height});
            return SamePicture(painted, shot);
        },
        kWait))
        << SamePicture(painted, shot).message();
    Cancel(save);
}

} // namespace e2e
