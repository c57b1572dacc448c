// The two skinned buttons: PngButton's placement, state machine, disabled
// look and painting; BitmapButton's picture swapping. Real hidden host windows
// receive real mouse messages.
#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "tests/unit/TestForm.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <string>

using controls::BitmapButton;
using controls::MakeDisabledImage;
using controls::PlacePngButtonContent;
using controls::PngButton;
using imaging::PngImage;

namespace {

// White, as the windows the buttons stand on.
struct TestHost : testing_support::TestForm {
    TestHost() : TestForm(200, 120) { Color = RGB(255, 255, 255); }
};

PngImage Solid(int w, int h, std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a = 255) {
    PngImage image(w, h, PngImage::ColorType::RGBAlpha);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t* p = image.Row(y) + x * 3;
            p[0] = r, p[1] = g, p[2] = b;
            image.AlphaRow(y)[x] = a;
        }
    return image;
}

ui::Bitmap Filled(int w, int h, std::uint32_t rgb) {
    ui::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            b.SetPixel(x, y, rgb);
    return b;
}

} // namespace

TEST(PngButtonPlacement, FollowsTheLayoutsAndShiftsWhenPressed) {
    // The 73 x 60 command button with a 32 x 32 picture and a 13-pixel caption.
    auto up = PlacePngButtonContent(PngButton::ContentLayout::ImageAbove, 73, 60, {32, 32}, {40, 13}, true, false);
    EXPECT_EQ(up.Picture.x, 20);
    EXPECT_EQ(up.Picture.y, 5);
    EXPECT_EQ(up.Caption.x, 16);
    EXPECT_EQ(up.Caption.y, 41);
    auto down = PlacePngButtonContent(PngButton::ContentLayout::ImageAbove, 73, 60, {32, 32}, {40, 13}, true, true);
    EXPECT_EQ(down.Picture.x, 22);
    EXPECT_EQ(down.Picture.y, 7);
    EXPECT_EQ(down.Caption.x, 18);
    EXPECT_EQ(down.Caption.y, 43);

    auto below = PlacePngButtonContent(PngButton::ContentLayout::ImageBelow, 73, 60, {32, 32}, {40, 13}, true, false);
    EXPECT_EQ(below.Caption.y, 5);
    EXPECT_EQ(below.Picture.y, 18);
    EXPECT_EQ(below.Picture.x, 20);

    // Side by side: the 5-pixel gap is outside the centring and the recomputed
    // x gets no press shift; y still moves by 2.
    auto left = PlacePngButtonContent(PngButton::ContentLayout::ImageLeft, 100, 40, {16, 16}, {30, 13}, true, true);
    EXPECT_EQ(left.Picture.x, 27);
    EXPECT_EQ(left.Caption.x, 48);
    EXPECT_EQ(left.Picture.y, (40 - 20) / 2 + 2);
    EXPECT_EQ(left.Caption.y, (40 - 13) / 2 + 2);
    auto right = PlacePngButtonContent(PngButton::ContentLayout::ImageRight, 100, 40, {16, 16}, {30, 13}, true, false);
    EXPECT_EQ(right.Caption.x, 27);
    EXPECT_EQ(right.Picture.x, 62);

    // Without a caption the picture is centred both ways, with no gap below it;
    // a picture larger than the button gets a small negative offset.
    auto bare = PlacePngButtonContent(PngButton::ContentLayout::ImageAbove, 57, 57, {32, 32}, {0, 0}, false, false);
    EXPECT_EQ(bare.Picture.x, 12);
    EXPECT_EQ(bare.Picture.y, 12);
    auto big = PlacePngButtonContent(PngButton::ContentLayout::ImageAbove, 1, 40, {32, 32}, {0, 0}, false, false);
    EXPECT_EQ(big.Picture.x, -15);
}

TEST(PngButton, StateMachineFollowsPressDragAndRelease) {
    TestHost host;
    PngButton button;
    button.SetBounds(10, 10, 73, 60);
    host.AddControl(button);
    int clicks = 0, enters = 0, exits = 0;
    button.OnClick = [&](ui::Control&) {
        // The button is painted up before its click handler runs.
        EXPECT_EQ(button.CurrentState(), PngButton::State::Up);
        ++clicks;
    };
    button.OnMouseEnter = [&](ui::Control&) { ++enters; };
    button.OnMouseExit = [&](ui::Control&) { ++exits; };
    EXPECT_EQ(button.CurrentState(), PngButton::State::Up);
    EXPECT_FALSE(button.MouseInside());

    host.Send(WM_MOUSEMOVE, 0, 20, 20);
    EXPECT_TRUE(button.MouseInside());
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Down);

    // Off and back on while held: the pressed look goes and comes back.
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 150, 100);
    EXPECT_FALSE(button.MouseInside());
    EXPECT_EQ(button.CurrentState(), PngButton::State::Down);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 20, 20);
    EXPECT_TRUE(button.MouseInside());

    // Released outside: no click, but up again.
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 150, 100);
    host.Send(WM_LBUTTONUP, 0, 150, 100);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Up);

    // A full click inside.
    host.Send(WM_MOUSEMOVE, 0, 20, 20);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    host.Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Up);

    // The right button changes nothing and clicks nothing.
    host.Send(WM_RBUTTONDOWN, MK_RBUTTON, 20, 20);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Up);
    host.Send(WM_RBUTTONUP, 0, 20, 20);
    EXPECT_EQ(clicks, 1);
    EXPECT_GE(enters, 2);
    EXPECT_GE(exits, 2);

    // Disabled: presses and enter or leave are ignored; enabled: up again.
    button.SetEnabled(false);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Disabled);
    host.Send(WM_MOUSEMOVE, 0, 150, 100);
    const int exitsBefore = exits;
    button.MouseLeave();
    EXPECT_EQ(exits, exitsBefore);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 20);
    host.Send(WM_LBUTTONUP, 0, 20, 20);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Disabled);
    EXPECT_EQ(clicks, 1);
    button.SetEnabled(true);
    EXPECT_EQ(button.CurrentState(), PngButton::State::Up);
}

TEST(PngButton, DisabledPictureIsAThirdOpaqueAndMadeOnce) {
    PngButton button;
    button.SetImageNormal(Solid(4, 4, 200, 0, 0, 255));
    EXPECT_EQ(button.DisabledImage().Pixel(1, 1) >> 24, 85u);
    button.SetEnabled(false);
    button.SetEnabled(true);
    button.SetEnabled(false);
    // Made anew from the normal picture each time, never from itself.
    EXPECT_EQ(button.DisabledImage().Pixel(1, 1) >> 24, 85u);
    EXPECT_EQ(button.ImageNormal().Pixel(1, 1) >> 24, 255u);

    PngImage halfway = Solid(1, 1, 0, 0, 0, 100);
    EXPECT_EQ(MakeDisabledImage(halfway).Pixel(0, 0) >> 24, 33u);

    // An RGB picture gains an alpha channel; a palette picture stays opaque.
    PngImage rgb(2, 2, PngImage::ColorType::RGB);
    EXPECT_EQ(MakeDisabledImage(rgb).Pixel(0, 0) >> 24, 85u);
    PngImage palette(2, 2, PngImage::ColorType::Palette);
    palette.Palette() = {{10, 20, 30}};
    const PngImage disabledPalette = MakeDisabledImage(palette);
    EXPECT_EQ(disabledPalette.Type(), PngImage::ColorType::Palette);
    EXPECT_EQ(disabledPalette.Pixel(1, 1), 0xFF0A141Eu);
}

TEST(PngButton, PaintsThePictureWhereTheLayoutSaysAndTheLooksOfEachState) {
    TestHost host;
    PngButton button;
    button.SetBounds(0, 0, 73, 60);
    button.SetButtonStyle(PngButton::FrameStyle::NoFrame);
    button.SetImageNormal(Solid(32, 32, 255, 0, 0));
    host.AddControl(button);

    ui::Bitmap shot = host.Snapshot();
    EXPECT_EQ(shot.Pixel(20, 14), 0xFF0000u);
    EXPECT_EQ(shot.Pixel(51, 45), 0xFF0000u);
    EXPECT_EQ(shot.Pixel(19, 14), 0xFFFFFFu) << "no frame: the parent shows around the picture";
    EXPECT_EQ(shot.Pixel(20, 46), 0xFFFFFFu);

    // Pressed: 2 right and 2 down.
    host.Send(WM_MOUSEMOVE, 0, 30, 30);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 30, 30);
    shot = host.Snapshot();
    EXPECT_EQ(shot.Pixel(21, 15), 0xFFFFFFu);
    EXPECT_EQ(shot.Pixel(22, 16), 0xFF0000u);
    EXPECT_EQ(shot.Pixel(53, 47), 0xFF0000u);
    host.Send(WM_LBUTTONUP, 0, 30, 30);

    // Disabled: a third of the opacity over white.
    button.SetEnabled(false);
    shot = host.Snapshot();
    const std::uint32_t faded = shot.Pixel(30, 30);
    EXPECT_EQ(faded >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>(faded & 0xFF), 170, 2);

    // A disabled flat button draws no frame, even under the cursor; enabled
    // and hovered it does.
    button.SetButtonStyle(PngButton::FrameStyle::Flat);
    shot = host.Snapshot();
    EXPECT_EQ(shot.Pixel(0, 0), 0xFFFFFFu);
    button.SetEnabled(true);
    host.Send(WM_MOUSEMOVE, 0, 30, 30);
    ASSERT_TRUE(button.MouseInside());
    shot = host.Snapshot();
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT), shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(shot.Pixel(0, 0), (GetRValue(highlight) << 16u) | (GetGValue(highlight) << 8u) | GetBValue(highlight));
    EXPECT_EQ(shot.Pixel(72, 59), (GetRValue(shadow) << 16u) | (GetGValue(shadow) << 8u) | GetBValue(shadow));
}

TEST(BitmapButton, SwapsItsThreePicturesWithTheMouse) {
    TestHost host;
    BitmapButton button;
    button.SetBounds(50, 50, 25, 31);
    host.AddControl(button);
    const auto normal = Filled(25, 31, 0x0000FF), hover = Filled(25, 31, 0x00FF00), pressed = Filled(25, 31, 0xFF0000);
    button.SetHoverPicture(hover);
    button.SetPressedPicture(pressed);
    button.SetNormalPicture(normal);
    auto shown = [&] { return button.Picture().Pixel(0, 0); };
    EXPECT_EQ(shown(), 0x0000FFu);

    std::string log;
    button.OnMouseEnter = [&](ui::Control&) { log += "enter "; };
    button.OnMouseLeave = [&](ui::Control&) { log += "leave "; };
    button.OnMouseDown = [&](ui::Control&, ui::MouseButton, ui::ShiftState, POINT at) {
        log += "down(" + std::to_string(at.x) + ") ";
    };
    button.OnMouseUp = [&](ui::Control&, ui::MouseButton, ui::ShiftState, POINT) { log += "up "; };
    button.OnClick = [&](ui::Control&) {
        log += "click ";
        EXPECT_EQ(shown(), 0xFF0000u) << "the click runs while the pressed picture shows";
    };

    host.Send(WM_MOUSEMOVE, 0, 55, 55);
    EXPECT_TRUE(button.MouseIn());
    EXPECT_EQ(shown(), 0x00FF00u);
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 55, 55);
    EXPECT_TRUE(button.Pressed());
    EXPECT_EQ(shown(), 0xFF0000u);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 5, 5);
    EXPECT_EQ(shown(), 0x0000FFu);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 55, 55);
    EXPECT_EQ(shown(), 0xFF0000u) << "back over the button while held: pressed again";
    host.Send(WM_LBUTTONUP, 0, 55, 55);
    EXPECT_FALSE(button.Pressed());
    EXPECT_EQ(shown(), 0x00FF00u);
    EXPECT_EQ(log, "enter down(5) leave enter click up ");
}
