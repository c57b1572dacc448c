#include "controls/Skin.h"

#include "imaging/PngImage.h"
#include "ui/Resources.h"

#include "ui/Error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

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

namespace {

std::wstring ScaledName(const wchar_t* name, int percent) { return name + (L"_" + std::to_wstring(percent)); }

// The PNG resource of the name at the artwork scale nearest to dpi, or
// nothing at 100 % or where it is missing.
std::optional<ScaledPicture<imaging::PngImage>> ScaledPng(const wchar_t* name, int dpi) {
    const int percent = ui::Scale(dpi).ArtworkPercent();
    if (percent == 100) return std::nullopt;
    try {
        return ScaledPicture<imaging::PngImage>{imaging::PngImage::FromResource(ScaledName(name, percent).c_str()),
                                                ui::kDesignDpi * percent / 100};
    } catch (const ui::Error&) {
        return std::nullopt;
    }
}

} // namespace

ScaledPicture<imaging::PngImage> LoadSkinPng(const wchar_t* name, int dpi) {
    if (auto scaled = ScaledPng(name, dpi)) return std::move(*scaled);
    return {imaging::PngImage::FromResource(name), ui::kDesignDpi};
}

ScaledPicture<ui::Bitmap> LoadSkinBitmap(const wchar_t* name, int dpi) {
    auto scaled = ScaledPng(name, dpi);
    if (!scaled) return {ui::LoadBitmapResource(name), ui::kDesignDpi};
    const imaging::PngImage& png = scaled->picture;
    ui::Bitmap picture(png.Width(), png.Height(), 24);
    for (int y = 0; y < png.Height(); ++y) {
        std::uint8_t* row = picture.Row(y);
        for (int x = 0; x < png.Width(); ++x) {
            const std::uint32_t p = png.Pixel(x, y);
            row[3 * x] = p & 0xFF;
            row[3 * x + 1] = (p >> 8) & 0xFF;
            row[3 * x + 2] = (p >> 16) & 0xFF;
        }
    }
    return {std::move(picture), scaled->dpi};
}

void ApplySkin(PngButton& button, const SkinnedButtonLook& look) {
    button.SetBounds(look.bounds);
    button.SetButtonStyle(PngButton::FrameStyle::NoFrame);
    if (look.caption) {
        button.SetFont(L"Verdana", 11, look.captionColor);
        button.SetCaption(look.caption);
    }
    button.PictureAtDpi = [name = std::wstring(look.picture)](int dpi) {
        auto loaded = LoadSkinPng(name.c_str(), dpi);
        return std::pair{std::move(loaded.picture), loaded.dpi};
    };
    button.SetImageNormal(imaging::PngImage::FromResource(look.picture));
    button.Cursor = LoadCursorW(nullptr, IDC_HAND);
}

void SkinTitleButton(BitmapButton& button, const ScaledPicture<ui::Bitmap>& scaledStrip, int designX, int designY,
                     int designW, int designH) {
    const ui::Bitmap& strip = scaledStrip.picture;
    const ui::Scale scale(scaledStrip.dpi);
    const int x = scale.Px(designX), y = scale.Px(designY), w = scale.Px(designW), h = scale.Px(designH);
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
    button.SetPictureDpi(scaledStrip.dpi);
}

} // namespace controls
