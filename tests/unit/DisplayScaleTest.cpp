// The layout at the display's scale: the scale arithmetic, the skin font and
// its stand-in, and the whole program's windows made in-process at the DPI
// that the session runs at (test.sh runs this program at 96, 144 and 192
// DPI), where every text must fit its control, measured with its own font.
#include "tests/support/Files.h"
#include "tests/support/TextFit.h"
#include "tests/support/Windows.h"
#include "app/SnaporaApp.h"
#include "controls/Skin.h"
#include "region/RegionScreen.h"
#include "ui/Application.h"
#include "ui/FlatButton.h"
#include "ui/GroupFrame.h"
#include "ui/Scale.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

TEST(DisplayScale, ScalesLengthsEdgesAndPicksTheNearestArtwork) {
    const ui::Scale design, oneAndAHalf(144), double_(192);
    EXPECT_EQ(613, design.Px(613));
    EXPECT_EQ(920, oneAndAHalf.Px(613)); // 919.5 rounds up
    EXPECT_EQ(-920, oneAndAHalf.Px(-613));
    EXPECT_EQ(962, double_.Px(481));
    // Rectangles that meet at the design DPI still meet when scaled.
    const RECT left = oneAndAHalf.Px(RECT{0, 0, 333, 135}), right = oneAndAHalf.Px(RECT{333, 0, 613, 135});
    EXPECT_EQ(left.right, right.left);
    EXPECT_EQ(100, design.ArtworkPercent());
    EXPECT_EQ(100, ui::Scale(110).ArtworkPercent());
    EXPECT_EQ(150, ui::Scale(120).ArtworkPercent()); // 125 %, halfway, goes up
    EXPECT_EQ(150, oneAndAHalf.ArtworkPercent());
    EXPECT_EQ(150, ui::Scale(160).ArtworkPercent());
    EXPECT_EQ(200, double_.ArtworkPercent());
    EXPECT_EQ(200, ui::Scale(288).ArtworkPercent());
    EXPECT_EQ(12, ui::PointsToPixels(9, 96));
    EXPECT_EQ(24, ui::PointsToPixels(9, 192));
    EXPECT_EQ(30, ui::Rescale(20, 96, 144));
    EXPECT_EQ(20, ui::Rescale(30, 144, 96));
}

TEST(DisplayScale, SkinFontGoesByPointSizeAndFallsBackToTheMessageFont) {
    // A face that no system has stands for SimSun missing.
    EXPECT_EQ(ui::MessageFontFace(), ui::InstalledFaceOrMessageFont(L"No Such Face 7f3a"));
    EXPECT_FALSE(ui::MessageFontFace().empty());
    EXPECT_TRUE(ui::FontFaceInstalled(L"Liberation Sans"));
    for (const int dpi : {96, 144, 192}) {
        LOGFONTW font{};
        ASSERT_TRUE(GetObjectW(controls::SkinFont(dpi), sizeof font, &font));
        EXPECT_EQ(-ui::PointsToPixels(9, dpi), font.lfHeight) << dpi;
        // Borrowed, so the same font each time.
        EXPECT_EQ(controls::SkinFont(dpi), controls::SkinFont(dpi));
    }
}

// Where the texts of a host's windowless controls have to fit.
std::vector<support::TextRoom> WindowlessTextRooms(const ui::HostWindow& host) {
    std::vector<support::TextRoom> rooms;
    const ui::Scale scale = host.DpiScale();
    for (ui::Control* control : host.Controls()) {
        if (!control->Visible()) continue;
        if (auto* flat = dynamic_cast<ui::FlatButton*>(control))
            rooms.push_back({L"flat button", flat->Caption(), flat->Font, {flat->Width() - 2, flat->Height() - 2}});
        else if (auto* frame = dynamic_cast<ui::GroupFrame*>(control))
            rooms.push_back(
                {L"group frame", frame->Caption(), frame->Font, {frame->Width() - scale.Px(16), frame->Height()}});
        else if (auto* button = dynamic_cast<controls::PngButton*>(control); button && !button->Caption().empty())
            rooms.push_back(
                {L"picture button",
                 button->Caption(),
                 button->Font(),
                 {button->Width(), button->Height() - button->ShownSize(button->ImageNormal()).cy - scale.Px(4)}});
    }
    return rooms;
}

class ScaledWindows : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().SetTitle(L"Velonix Capture");
        ui::App().MessageHandler = [](const std::wstring&, UINT) { return IDOK; };
        snapora = std::make_unique<app::SnaporaApp>();
    }
    void TearDown() override {
        snapora.reset();
        ui::App().MessageHandler = nullptr;
    }

    std::vector<std::string> Clipped(ui::HostWindow& window) const {
        std::vector<support::TextRoom> rooms = support::NativeTextRooms(window.Handle(), window.Dpi());
        for (support::TextRoom& room : WindowlessTextRooms(window))
            rooms.push_back(room);
        return support::ClippedTexts(rooms);
    }

    std::unique_ptr<app::SnaporaApp> snapora;
};

TEST_F(ScaledWindows, EveryWindowIsAtTheSystemScaleAndFitsEveryText) {
    const int dpi = ui::SystemDpi();
    const ui::Scale scale(dpi);
    // The label by the cursor on the region screen, with the largest sizes
    // of a 2560 x 2048 desktop, as the region screen sizes it.
    region::SelectionSizeLabel sizeLabel;
    sizeLabel.SetBounds(scale.Px(RECT{61, 46, 61 + 37, 46 + 22}));
    sizeLabel.ScaleContent(ui::kDesignDpi, dpi);
    sizeLabel.SetTexts(L"X:2560", L"Y:2048");
    for (const std::string& clipped : support::ClippedTexts({{L"size label",
                                                              sizeLabel.WidthText() + L"\n" + sizeLabel.HeightText(),
                                                              sizeLabel.Font(),
                                                              {sizeLabel.Width() - 1, sizeLabel.Height()}}}))
        ADD_FAILURE() << "region screen at " << dpi << " DPI: " << clipped;

    const RECT client = snapora->MainWindow().ClientRect();
    EXPECT_NEAR(scale.Px(613), client.right, 1);
    EXPECT_NEAR(scale.Px(481), client.bottom, 1);

    // The lines and handles that the user aims at grow too.
    EXPECT_EQ(scale.Px(3), snapora->HighlightFrame().LineWidth());
    const picture::GrabHandle handle(snapora->PictureWindow().Handle());
    EXPECT_EQ(scale.Px(6), handle.Width());
    RECT toolbar{};
    GetClientRect(FindWindowExW(snapora->PictureWindow().Handle(), nullptr, picture::kPictureToolbarClass, nullptr),
                  &toolbar);
    EXPECT_EQ(scale.Px(picture::PictureToolbar::kHeight), toolbar.bottom);

    std::vector<ui::HostWindow*> windows = {&snapora->MainWindow(), &snapora->OptionsWindow(),
                                            &snapora->MoreOptionsWindow(), &snapora->SuspendPanel()};
    for (ui::HostWindow* window : windows) {
        EXPECT_EQ(dpi, window->Dpi()) << support::Narrow(support::WindowClass(window->Handle()));
        for (const std::string& clipped : Clipped(*window))
            ADD_FAILURE() << support::Narrow(support::WindowClass(window->Handle())) << " at " << dpi
                          << " DPI: " << clipped;
        // Made at its size, every window fits the work area of its monitor.
        const RECT bounds = window->WindowRect();
        MONITORINFO monitor{sizeof monitor};
        GetMonitorInfoW(MonitorFromWindow(window->Handle(), MONITOR_DEFAULTTONEAREST), &monitor);
        RECT inside{};
        IntersectRect(&inside, &bounds, &monitor.rcWork);
        EXPECT_TRUE(EqualRect(&inside, &bounds)) << support::Narrow(support::WindowClass(window->Handle()));
    }
}

TEST_F(ScaledWindows, TakeTheSuggestedRectangleAndTheNewScaleWhenTheDpiChanges) {
    // Windows sends WM_DPICHANGED when a window moves to a monitor of
    // another DPI; Wine 8 never does, so the test sends it.
    settings::OptionsWindow& options = snapora->OptionsWindow();
    const int from = options.Dpi(), to = from == 192 ? 96 : 192;
    const HWND firstChild = GetWindow(options.Handle(), GW_CHILD);
    ASSERT_TRUE(firstChild);
    RECT childBefore{}, childAfter{};
    GetWindowRect(firstChild, &childBefore);
    const RECT before = options.WindowRect();
    const RECT suggested{40, 30, 40 + ui::Rescale(before.right - before.left, from, to),
                         30 + ui::Rescale(before.bottom - before.top, from, to)};

    SendMessageW(options.Handle(), WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
    const RECT after = options.WindowRect();
    EXPECT_TRUE(EqualRect(&suggested, &after));
    EXPECT_EQ(to, options.Dpi());
    GetWindowRect(firstChild, &childAfter);
    EXPECT_NEAR(ui::Rescale(childBefore.right - childBefore.left, from, to), childAfter.right - childAfter.left, 1);
    EXPECT_NEAR(ui::Rescale(childBefore.bottom - childBefore.top, from, to), childAfter.bottom - childAfter.top, 1);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(firstChild, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(-ui::PointsToPixels(9, to), font.lfHeight);
    for (const std::string& clipped : Clipped(options))
        ADD_FAILURE() << "Options at " << to << " DPI: " << clipped;
}

} // namespace
