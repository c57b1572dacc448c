// Marks on a picture: flattened at every zoom with redactions black above
// every other mark, in JPEG too; carried onto a crop; and drawn, undone,
// redone, restored and cropped in the real picture window.
#include "RecordedBoxes.h"
#include "imaging/ImageWriters.h"
#include "picture/PictureWindow.h"
#include "picture/Rendering.h"
#include "tests/support/Files.h"
#include "tests/support/Windows.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"

#include <gtest/gtest.h>

#include <memory>

using picture::Mark;
using picture::MarkKind;

namespace {

constexpr COLORREF kRed = RGB(230, 0, 0);

// A picture of many colours, none of them black.
ui::Bitmap Pattern(int width, int height) {
    ui::Bitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.SetPixel(x, y, 0x404040u + static_cast<std::uint32_t>((x * 7 % 190) << 16 | (y * 5 % 190) << 8));
    return picture;
}

Mark Redaction(double left, double top, double right, double bottom) {
    return {MarkKind::Redaction, 0, 1, {{left, top}, {right, bottom}}, {}};
}

} // namespace

TEST(MarkRendering, RedactionsLeaveNoPixelOfTheAreaAtAnyZoomAndInAJpeg) {
    const ui::Bitmap picture = Pattern(100, 80);
    // A redaction, then a highlighter stroke and an arrow drawn later across it.
    const std::vector<Mark> marks = {
        Redaction(20.5, 10, 60, 50.5),
        {MarkKind::Highlighter, RGB(255, 230, 0), 12, {{0, 30}, {99, 30}}, {}},
        {MarkKind::Arrow, kRed, 3, {{10, 20}, {90, 40}}, {}},
    };
    for (const auto& [w, h] : {std::pair{100, 80}, {120, 96}, {84, 67}, {59, 47}, {173, 138}}) {
        const ui::Bitmap shown = picture::RenderMarked(picture, marks, w, h);
        ui::Bitmap plain(w, h);
        picture::StretchNearest(picture, plain);
        int marked = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                // The picture pixel under this pixel's centre.
                const double sx = (x + 0.5) * 100 / w, sy = (y + 0.5) * 80 / h;
                if (sx >= 20.5 && sx < 60 && sy >= 10 && sy < 50.5) {
                    ASSERT_EQ(shown.Pixel(x, y), 0u) << w << " x " << h << " at " << x << ", " << y;
                }
                marked += shown.Pixel(x, y) != plain.Pixel(x, y);
            }
        // Away from the marks the picture is untouched.
        EXPECT_EQ(shown.Pixel(w - 1, h - 1), plain.Pixel(w - 1, h - 1));
        EXPECT_EQ(shown.Pixel(0, 0), plain.Pixel(0, 0));
        EXPECT_GT(marked, w * h / 5);
    }

    // A JPEG: every 8 x 8 block inside the area decodes as black as the
    // encoder allows, with nothing left of the pattern.
    const support::TempFolder folder(L"redacted");
    const ui::Bitmap big = Pattern(160, 120);
    imaging::WriteJpeg(picture::RenderMarked(big, {Redaction(16, 24, 96, 88)}, 160, 120), folder.File(L"r.jpg"));
    const auto jpeg = support::DecodeJpegFile(folder.File(L"r.jpg"));
    ASSERT_TRUE(jpeg.has_value());
    for (int y = 24; y < 88; ++y)
        for (int x = 16; x < 96; ++x)
            for (int shift : {0, 8, 16})
                ASSERT_LE(jpeg->At(x, y) >> shift & 0xFF, 2u) << x << ", " << y;
}

TEST(MarkCarry, ACropTakesTheMarksAtItsZoomClipsThoseAcrossItsEdgeAndLeavesThoseOutside) {
    // A crop at a zoom of 1.2 whose top-left is at (24, 12) of the zoomed picture.
    const picture::MarkTransform intoCut{1.2, 1.2, -24, -12};
    const std::vector<Mark> marks = {
        Redaction(10, 10, 50, 50),                                    // across the cut's left edge
        {MarkKind::Arrow, kRed, 3, {{30, 20}, {60, 40}}, {}},         // inside
        {MarkKind::Rectangle, kRed, 3, {{200, 200}, {240, 230}}, {}}, // outside
        {MarkKind::Text, kRed, 20, {{30, 60}}, L"note"},              // inside
    };
    const std::vector<Mark> carried = picture::CarryMarks(marks, intoCut, {100, 80});
    ASSERT_EQ(carried.size(), 3u);
    EXPECT_EQ(carried[0].kind, MarkKind::Redaction);
    EXPECT_DOUBLE_EQ(carried[0].points[0].x, -12);
    EXPECT_DOUBLE_EQ(carried[1].points[1].x, 48);
    EXPECT_DOUBLE_EQ(carried[1].points[1].y, 36);
    EXPECT_DOUBLE_EQ(carried[1].width, 3.6);
    EXPECT_DOUBLE_EQ(carried[2].width, 24);
    // Drawn on the cut, the clipped redaction blackens its part and no more.
    ui::Bitmap cut = Pattern(100, 80);
    picture::DrawMarks(cut.Canvas(), {carried[0]}, {});
    GdiFlush();
    EXPECT_EQ(cut.Pixel(0, 0), 0u);
    EXPECT_NE(cut.Pixel(0, 48), 0u);
    EXPECT_EQ(cut.Pixel(35, 47), 0u);
    EXPECT_NE(cut.Pixel(36, 47), 0u);
}

namespace {

class PictureWindowMarks : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<picture::PictureWindow>();
        form->LoadPicture(original);
        form->Present();
    }
    void TearDown() override { EXPECT_TRUE(boxes.errors.empty()); }

    // The mouse as the window receives it, at a pixel of the picture.
    void Mouse(UINT message, int x, int y) {
        const POINT at{form->PictureView().Left() + x, form->PictureView().Top() + y};
        SendMessageW(form->Handle(), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
    }
    void DragOnPicture(int x0, int y0, int x1, int y1) {
        Mouse(WM_LBUTTONDOWN, x0, y0);
        Mouse(WM_MOUSEMOVE, (x0 + x1) / 2, (y0 + y1) / 2);
        Mouse(WM_MOUSEMOVE, x1, y1);
        Mouse(WM_LBUTTONUP, x1, y1);
    }
    const ui::Bitmap& Shown() const { return form->PictureView().Picture(); }
    bool ShowsOriginal() const {
        for (int y = 0; y < original.Height(); ++y)
            for (int x = 0; x < original.Width(); ++x)
                if (Shown().Pixel(x, y) != original.Pixel(x, y)) return false;
        return Shown().Width() == original.Width() && Shown().Height() == original.Height();
    }

    RecordedBoxes boxes;
    const ui::Bitmap original = Pattern(200, 150);
    std::unique_ptr<picture::PictureWindow> form;
};

} // namespace

TEST_F(PictureWindowMarks, ToolsDrawUndoRedoRestoreAndCutterInOneHistory) {
    const int top = form->PictureView().Top();
    form->OnMarks();
    EXPECT_TRUE(IsWindowVisible(form->ToolStrip().Handle()));
    // Right under the toolbar, and the picture moves down by its height.
    RECT strip = support::WindowRectOf(form->ToolStrip().Handle());
    POINT underToolbar = support::ScreenPoint(form->Handle(), {0, picture::PictureToolbar::kHeight});
    EXPECT_EQ(strip.top, underToolbar.y);
    EXPECT_EQ(form->PictureView().Top(), top + form->ToolStrip().Height());

    // Choosing a tool puts the crop frame away.
    form->OnStartCrop();
    form->ChooseTool(MarkKind::Rectangle);
    EXPECT_FALSE(form->CropOutline().Visible());
    EXPECT_TRUE(form->ToolStrip().ToolButton(MarkKind::Rectangle).Chosen());
    DragOnPicture(20, 20, 80, 60);
    EXPECT_EQ(Shown().Pixel(50, 20), 0xE60000u);
    EXPECT_EQ(Shown().Pixel(50, 40), original.Pixel(50, 40));

    // Zoomed, the box stays on the same picture pixels.
    form->OnZoomIn();
    EXPECT_EQ(Shown().Pixel(60, 24), 0xE60000u);
    form->OnOriginalSize();

    // A text typed where the user clicked, ended by Enter; Esc leaves the tool.
    form->ChooseTool(MarkKind::Text);
    Mouse(WM_LBUTTONDOWN, 100, 100);
    Mouse(WM_LBUTTONUP, 100, 100);
    for (wchar_t c : std::wstring(L"Ok"))
        SendMessageW(form->Handle(), WM_CHAR, c, 0);
    SendMessageW(form->Handle(), WM_KEYDOWN, VK_RETURN, 0);
    SendMessageW(form->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(form->Editor().Tool().has_value());
    ASSERT_EQ(form->History().Current().marks.size(), 2u);
    EXPECT_EQ(form->History().Current().marks[1].text, L"Ok");

    // Restore is a step: the unmarked picture, and Undo brings the marks back.
    form->OnRestore();
    EXPECT_TRUE(ShowsOriginal());
    form->Undo();
    EXPECT_EQ(Shown().Pixel(50, 20), 0xE60000u);

    // The Cutter ends the tool; a crop is a step of the same history.
    form->ChooseTool(MarkKind::Arrow);
    form->OnStartCrop();
    EXPECT_FALSE(form->Editor().Tool().has_value());
    form->CropOutline().SetBounds(form->PictureView().Left() + 40, form->PictureView().Top() + 10, 60, 40);
    form->CutPicture();
    ASSERT_EQ(Shown().Width(), 60);
    EXPECT_EQ(Shown().Pixel(10, 10), 0xE60000u);
    EXPECT_EQ(form->History().Current().marks.size(), 1u) << "the text outside the cut stays behind";
    form->Undo();
    EXPECT_EQ(Shown().Width(), 200);
    form->Redo();
    EXPECT_EQ(Shown().Width(), 60);
    for (int i = 0; i < 5; ++i)
        form->Undo();
    EXPECT_TRUE(ShowsOriginal());
    EXPECT_FALSE(form->History().CanUndo());

    // The Marks button again hides the strip and puts the picture back.
    form->OnMarks();
    EXPECT_FALSE(IsWindowVisible(form->ToolStrip().Handle()));
    EXPECT_EQ(form->PictureView().Top(), top);
}
