// The toolkit pieces the windows are made of: PNG decoding and blending,
// timers, and the native control wrappers on a real hidden host window.
#include "tests/unit/PngTestData.h"
#include "tests/unit/TestForm.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Error.h"
#include "ui/HostWindow.h"
#include "ui/NativeControls.h"
#include "imaging/PngImage.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

using imaging::PngImage;
using testing_support::EncodePng;
using testing_support::PngRecipe;

namespace {

PngImage DecodeRecipe(const PngRecipe& recipe) {
    const auto bytes = EncodePng(recipe);
    return PngImage::Decode(bytes.data(), bytes.size());
}

using testing_support::TestForm;

} // namespace

TEST(PngImage, DecodesEveryColourTypeAndKeepsAlphaApart) {
    // RGB with alpha: colour and alpha planes.
    PngImage rgba = DecodeRecipe({.width = 2, .height = 1, .rows = {10, 20, 30, 255, 40, 50, 60, 128}});
    ASSERT_EQ(rgba.Type(), PngImage::ColorType::RGBAlpha);
    EXPECT_EQ(rgba.Pixel(0, 0), 0xFF0A141Eu);
    EXPECT_EQ(rgba.Pixel(1, 0), 0x8028323Cu);
    EXPECT_EQ(rgba.AlphaRow(0)[1], 128);

    // 16-bit grey with alpha comes down to 8 bits per sample.
    PngImage grayAlpha = DecodeRecipe({.width = 1,
                                       .height = 1,
                                       .colorType = PNG_COLOR_TYPE_GRAY_ALPHA,
                                       .bitDepth = 16,
                                       .rows = {0x80, 0x11, 0x40, 0x22}});
    ASSERT_EQ(grayAlpha.Type(), PngImage::ColorType::GrayAlpha);
    EXPECT_EQ(grayAlpha.Pixel(0, 0), 0x40808080u);

    // 1-bit grey is widened to 8 bits.
    PngImage gray =
        DecodeRecipe({.width = 8, .height = 1, .colorType = PNG_COLOR_TYPE_GRAY, .bitDepth = 1, .rows = {0xA0}});
    ASSERT_EQ(gray.Type(), PngImage::ColorType::Gray);
    EXPECT_EQ(gray.Pixel(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(gray.Pixel(1, 0), 0xFF000000u);
    EXPECT_FALSE(gray.HasAlphaChannel());

    // A 4-bit palette picture stays a palette picture with its transparency table.
    PngImage palette = DecodeRecipe({.width = 2,
                                     .height = 1,
                                     .colorType = PNG_COLOR_TYPE_PALETTE,
                                     .bitDepth = 4,
                                     .rows = {0x01},
                                     .palette = {{255, 0, 0}, {0, 0, 255}},
                                     .paletteAlpha = {64}});
    ASSERT_EQ(palette.Type(), PngImage::ColorType::Palette);
    EXPECT_EQ(palette.Pixel(0, 0), 0x40FF0000u);
    EXPECT_EQ(palette.Pixel(1, 0), 0xFF0000FFu);

    // An RGB colour key becomes an alpha channel.
    PngRecipe keyed{.width = 2, .height = 1, .colorType = PNG_COLOR_TYPE_RGB, .rows = {1, 2, 3, 9, 9, 9}};
    keyed.grayKey = true;
    keyed.key.red = 9, keyed.key.green = 9, keyed.key.blue = 9;
    PngImage keyedImage = DecodeRecipe(keyed);
    ASSERT_EQ(keyedImage.Type(), PngImage::ColorType::RGBAlpha);
    EXPECT_EQ(keyedImage.Pixel(0, 0) >> 24, 255u);
    EXPECT_EQ(keyedImage.Pixel(1, 0) >> 24, 0u);

    // A copy is independent of its source.
    PngImage copy = rgba;
    copy.AlphaRow(0)[0] = 1;
    EXPECT_EQ(rgba.AlphaRow(0)[0], 255);
}

TEST(PngImage, RefusesDataThatIsNotAPngOrIsCutShort) {
    const std::uint8_t junk[] = "definitely not a picture";
    EXPECT_THROW(PngImage::Decode(junk, sizeof junk), ui::Error);
    auto bytes = EncodePng({.width = 4, .height = 4, .rows = std::vector<std::uint8_t>(64, 7)});
    bytes.resize(bytes.size() / 2);
    EXPECT_THROW(PngImage::Decode(bytes.data(), bytes.size()), ui::Error);
}

TEST(PngImage, DrawsBlendedByItsAlpha) {
    // Opaque red, half-transparent red and fully transparent over white.
    PngImage image = DecodeRecipe({.width = 3, .height = 1, .rows = {255, 0, 0, 255, 255, 0, 0, 128, 255, 0, 0, 0}});
    ui::Bitmap canvas(3, 1);
    PatBlt(canvas.Canvas(), 0, 0, 3, 1, WHITENESS);
    image.Draw(canvas.Canvas(), 0, 0);
    GdiFlush();
    EXPECT_EQ(canvas.Pixel(0, 0), 0xFF0000u);
    const std::uint32_t half = canvas.Pixel(1, 0);
    EXPECT_EQ(half >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>(half & 0xFF), 127, 2);
    EXPECT_EQ(canvas.Pixel(2, 0), 0xFFFFFFu);
}

TEST(PngImage, AddAlphaChannelMakesEveryPixelOpaque) {
    PngImage rgb(2, 2, PngImage::ColorType::RGB);
    rgb.AddAlphaChannel();
    EXPECT_EQ(rgb.Type(), PngImage::ColorType::RGBAlpha);
    EXPECT_EQ(rgb.Pixel(1, 1) >> 24, 255u);
    PngImage palette(2, 2, PngImage::ColorType::Palette);
    palette.AddAlphaChannel();
    EXPECT_EQ(palette.Transparency().size(), 256u);
    EXPECT_EQ(palette.Transparency()[200], 255);
}

TEST(Timer, FiresWhileEnabledAndNeverWithIntervalZero) {
    int ticks = 0;
    ui::Timer timer(20, false);
    timer.OnTimer = [&] { ++ticks; };
    EXPECT_FALSE(timer.Running());

    timer.SetEnabled(true);
    const ULONGLONG start = GetTickCount64();
    ui::App().RunModalLoop([&] { return ticks >= 2 || GetTickCount64() - start > 5000; });
    EXPECT_GE(ticks, 2);

    // An interval of 0 stops the timer even though it stays enabled.
    timer.SetInterval(0);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Running());
    ticks = 0;
    ui::Timer stopper(200);
    bool stop = false;
    stopper.OnTimer = [&] { stop = true; };
    ui::App().RunModalLoop([&] { return stop; });
    EXPECT_EQ(ticks, 0);
}

TEST(Timer, AnExceptionInTheHandlerIsReportedAndTheTimerGoesOn) {
    std::wstring reported;
    ui::App().ErrorHandler = [&](const std::wstring& message) { reported = message; };
    int ticks = 0;
    ui::Timer timer(10);
    timer.OnTimer = [&] {
        if (++ticks == 1) throw ui::Error(L"tick failed");
    };
    const ULONGLONG start = GetTickCount64();
    ui::App().RunModalLoop([&] { return ticks >= 2 || GetTickCount64() - start > 5000; });
    ui::App().ErrorHandler = nullptr;
    EXPECT_EQ(reported, L"tick failed");
    EXPECT_GE(ticks, 2);
}

TEST(NativeControls, UserClicksRaiseOnClickButCodeNever) {
    TestForm form;
    ui::GroupBox group(form, {.text = L"Group", .x = 0, .y = 0, .width = 200, .height = 150});
    ui::RadioButton first(form, {.text = L"First", .x = 10, .y = 20, .width = 100, .height = 17});
    ui::RadioButton second(form, {.text = L"Second", .x = 10, .y = 40, .width = 100, .height = 17});
    ui::CheckBox box(form, {.text = L"Box", .x = 10, .y = 60, .width = 100, .height = 17});
    int firstClicks = 0, secondClicks = 0, boxClicks = 0;
    first.OnClick = [&] { ++firstClicks; };
    second.OnClick = [&] { ++secondClicks; };
    box.OnClick = [&] { ++boxClicks; };

    first.SetChecked(true);
    box.SetChecked(true);
    EXPECT_TRUE(first.Checked());
    EXPECT_EQ(firstClicks + boxClicks, 0) << "setting a state from code raised the click";

    // BM_CLICK is what a user's click does: the notification goes to the form.
    SendMessageW(second.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(second.Checked());
    EXPECT_FALSE(first.Checked()) << "the group kept two buttons checked";
    EXPECT_EQ(secondClicks, 1);
    SendMessageW(second.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(second.Checked());
    EXPECT_EQ(secondClicks, 2);

    SendMessageW(box.Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(boxClicks, 1);
    EXPECT_EQ(group.Text(), L"Group");

    // A radio button on another form belongs to another group.
    TestForm other;
    ui::RadioButton elsewhere(other, {.text = L"Elsewhere", .x = 0, .y = 0, .width = 100, .height = 17});
    elsewhere.SetChecked(true);
    EXPECT_TRUE(second.Checked());
}
