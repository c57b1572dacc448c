// The real program at the display scale of the session: tools/test.sh runs
// these cases on desktops of 144 and 192 DPI (CTest's scale_144 and
// scale_192), and they hold at 96 DPI too. The windows grow by DPI / 96;
// captures stay in the screen's own pixels.
#include "CaptureSession.h"
#include "region/RegionScreen.h"

namespace e2e {

namespace {

// This process reads the program's windows and the screen in physical
// pixels, as the program itself does; left unaware of the DPI, it would be
// given figures scaled down to 96 DPI.
int MakeAwareOfDpi() {
    using SetAwareness = BOOL WINAPI(DPI_AWARENESS_CONTEXT);
    using SystemDpi = UINT WINAPI();
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (auto* set = reinterpret_cast<SetAwareness*>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext"))))
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    auto* dpi = reinterpret_cast<SystemDpi*>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
    return dpi ? static_cast<int>(dpi()) : 96;
}

} // namespace

class Scaled : public CaptureSession {
protected:
    static void SetUpTestSuite() { dpi = MakeAwareOfDpi(); }
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
    RECT window{};
    GetWindowRect(main, &window);
    EXPECT_LE(window.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_LE(window.bottom, GetSystemMetrics(SM_CYSCREEN));

    // A drag of 300 x 200 screen pixels on the region screen gives a
    // picture of 300 x 200, whatever the scale.
    support::MoveMouse({Px(1200), Px(980)});
    const Picture before = support::GrabScreen(Screen());
    TypeCaptureKey();
    HWND display = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
    ASSERT_NE(display, nullptr) << "the region screen did not open";
    support::Drag({Px(200), Px(150)}, {Px(200) + 300, Px(150) + 200});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    EXPECT_EQ(300, shot.width);
    EXPECT_EQ(200, shot.height);
    Cancel(save);
}

} // namespace e2e
