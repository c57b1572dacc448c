#include "controls/Skin.h"

#include "imaging/PngImage.h"
#include "ui/Resources.h"

#include <cstdint>

namespace controls {

namespace {

// SimSun, by its Chinese name.
const wchar_t* const kSkinFontFace = L"\u5B8B\u4F53";
constexpr double kSkinFontPoints = 9;

} // namespace

HFONT SkinFont(int dpi) {
    // Deleted at exit, after every window that borrowed it is gone.
    static const ui::UniqueFont font = [] {
        const std::wstring face = ui::InstalledFaceOrMessageFont(kSkinFontFace);
        return ui::CreateFontOf(face, ui::PointsToPixels(kSkinFontPoints, ui::kDesignDpi),
                                face == kSkinFontFace ? GB2312_CHARSET : DEFAULT_CHARSET);
    }();
    return ui::RescaledFont(font.Get(), ui::kDesignDpi, dpi);
}

void ApplySkin(PngButton& button, const SkinnedButtonLook& look) {
    button.SetBounds(look.bounds);
    button.SetButtonStyle(PngButton::FrameStyle::NoFrame);
    if (look.caption) {
        button.SetFont(L"Verdana", 11, look.captionColor);
        button.SetCaption(look.caption);
    }
    button.SetImageNormal(imaging::PngImage::FromResource(look.picture));
    button.Cursor = LoadCursorW(nullptr, IDC_HAND);
}

void SkinTitleButton(BitmapButton& button, const ui::Bitmap& strip, int x, int y, int w, int h) {
    ui::Bitmap cells[3];
    // The strip's own background colour (its bottom-left pixel): a cell that
    // reaches past the strip's edge is filled with it there, so that the
    // missing rows draw transparent instead of as a black bar that would also
    // spoil the cell's transparent colour.
    const std::uint32_t background = strip.Empty() ? 0 : strip.Pixel(0, strip.Height() - 1);
    const COLORREF fill = RGB((background >> 16) & 0xFF, (background >> 8) & 0xFF, background & 0xFF);
    for (int i = 0; i < 3; ++i) {
        ui::Bitmap& cell = cells[i];
        cell.Reset(w, h, 24);
        cell.Transparent = true;
        if (cell.Empty()) continue;
        ui::UniqueBrush brush(CreateSolidBrush(fill));
        const RECT all{0, 0, w, h};
        FillRect(cell.Canvas(), &all, brush.Get());
        // BitBlt leaves the destination alone where the source lies outside
        // its bitmap, so the fill above shows there.
        if (!strip.Empty()) BitBlt(cell.Canvas(), 0, 0, w, h, strip.Canvas(), x, y + i * h, SRCCOPY);
        GdiFlush();
    }
    button.SetHoverPicture(cells[1]);
    button.SetPressedPicture(cells[2]);
    button.SetNormalPicture(cells[0]);
}

} // namespace controls
