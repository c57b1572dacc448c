#include "app/HotKeyPanel.h"

#include "ui/Resources.h"

#include <algorithm>

namespace app {

namespace {

// Where the pictures leave room for the text, in their own pixels: the
// header's hint, and on the body the card's rows (baselines 16 pixels apart, keys and methods in two columns, kept
// inside the card), and the two lines between the buttons.
constexpr int kCardRight = 166;
constexpr int kKeyColumn = 24, kMethodColumn = 66, kLastMethodColumn = 110, kColumnGap = 6;
constexpr int kFirstRowBaseline = 220, kRowStep = 16;
constexpr POINT kPeriodicLine{179, 240};
constexpr int kPeriodicLineStep = 14;
constexpr COLORREF kTextColor = RGB(0x4A, 0x5D, 0x78);
constexpr POINT kHint{12, 123};
constexpr COLORREF kHintColor = RGB(0xA9, 0xC3, 0xE6);
constexpr int kCardRows = 5;

// Draws a line of text on a baseline, cut short with an ellipsis where it
// would pass right.
void DrawLine(HDC dc, int x, int baseline, const std::wstring& text, int right) {
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT line{x, baseline - metrics.tmAscent, right, baseline + metrics.tmDescent};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_NOCLIP);
}

int TextWidth(HDC dc, const std::wstring& text) {
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

} // namespace

std::wstring KeyLabel(settings::KeyCombination key) {
    return key.Empty() ? L"none" : settings::KeyCombinationText(key);
}

// The text's height in pixels at 96 DPI.
constexpr int kTextHeight = 10;

HotKeyPanel::HotKeyPanel() : font_(ui::CreateFontOf(L"DejaVu Sans", kTextHeight, DEFAULT_CHARSET)) {}

void HotKeyPanel::ScaleContent(int, int toDpi) {
    scale_ = ui::Scale(toDpi);
    font_ = ui::CreateFontOf(L"DejaVu Sans", scale_.Px(kTextHeight), DEFAULT_CHARSET);
}

void HotKeyPanel::Place(int clientWidth, int clientHeight, POINT bodyPicture) {
    bodyPicture_ = bodyPicture;
    SetBounds(0, 0, clientWidth, clientHeight);
}

std::wstring HotKeyPanel::Hint() const {
    // The five keys of today read as a range; keys of the user's own are
    // listed on the card.
    const settings::HotKeyTable defaults = settings::DefaultHotKeys();
    const bool defaultMethodKeys = std::equal(keys_.begin(), keys_.begin() + kCardRows, defaults.begin());
    return defaultMethodKeys ? L"Pick a method below, then Capture or press Ctrl+1 ... Ctrl+5"
                             : L"Pick a method below, then Capture or press its hotkey";
}

void HotKeyPanel::SetKeys(const settings::HotKeyTable& keys) {
    keys_ = keys;
    Invalidate();
}

std::vector<std::wstring> HotKeyPanel::Lines() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i <= static_cast<int>(settings::HotKeyCommand::FixedRegion); ++i)
        lines.push_back(KeyLabel(keys_[i]) + L"\t" +
                        settings::HotKeyCommandName(static_cast<settings::HotKeyCommand>(i)));
    lines.push_back(KeyLabel(keys_[static_cast<int>(settings::HotKeyCommand::StartPeriodic)]) + L" / " +
                    KeyLabel(keys_[static_cast<int>(settings::HotKeyCommand::StopPeriodic)]) + L" start and");
    lines.push_back(L"stop real-time capture.");
    return lines;
}

void HotKeyPanel::Paint(HDC dc) {
    ui::ScopedSelect font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kHintColor);
    DrawLine(dc, scale_.Px(kHint.x), scale_.Px(kHint.y), Hint(), Width());
    SetTextColor(dc, kTextColor);
    // The body's text is placed in the picture's own pixels.
    POINT origin{};
    OffsetViewportOrgEx(dc, bodyPicture_.x, bodyPicture_.y, &origin);
    PaintBody(dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void HotKeyPanel::PaintBody(HDC dc) const {
    const std::vector<std::wstring> lines = Lines();
    // A long key pushes the methods to the right, all alike, but leaves them
    // room for a word; what does not fit ends in an ellipsis.
    const ui::Scale& s = scale_;
    int methodColumn = s.Px(kMethodColumn);
    for (int row = 0; row < kCardRows; ++row)
        methodColumn =
            std::max(methodColumn,
                     s.Px(kKeyColumn) + TextWidth(dc, lines[row].substr(0, lines[row].find(L'\t'))) + s.Px(kColumnGap));
    methodColumn = std::min(methodColumn, s.Px(kLastMethodColumn));
    for (int row = 0; row < kCardRows; ++row) {
        const size_t tab = lines[row].find(L'\t');
        const int baseline = s.Px(kFirstRowBaseline + row * kRowStep);
        DrawLine(dc, s.Px(kKeyColumn), baseline, lines[row].substr(0, tab), methodColumn - s.Px(kColumnGap));
        DrawLine(dc, methodColumn, baseline, lines[row].substr(tab + 1), s.Px(kCardRight));
    }
    for (int i = 0; i < 2; ++i)
        DrawLine(dc, s.Px(kPeriodicLine.x), s.Px(kPeriodicLine.y + i * kPeriodicLineStep), lines[kCardRows + i],
                 Width() - bodyPicture_.x);
}

} // namespace app
