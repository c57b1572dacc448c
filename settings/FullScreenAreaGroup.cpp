#include "settings/FullScreenAreaGroup.h"

namespace settings {

namespace {

constexpr const wchar_t* kCaptions[] = {L"The primary monitor", L"The monitor under the mouse", L"Every monitor"};
constexpr int kFirstRow = 22, kRowHeight = 22, kInset = 16;

} // namespace

FullScreenAreaGroup::FullScreenAreaGroup(ui::HostWindow& host, POINT origin, int width, HFONT font, COLORREF background)
    : SettingsGroup(host, origin, {width, kHeight}, L"Full Screen Takes", font, background) {
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i)
        // The first choice starts a keyboard group: the arrow keys move
        // between the three, Tab past them.
        choices_[i] =
            std::make_unique<ui::RadioButton>(host, Placed(kInset, kFirstRow + i * kRowHeight, width - 2 * kInset, 17,
                                                           kCaptions[i], i == 0 ? static_cast<DWORD>(WS_GROUP) : 0));
}

void FullScreenAreaGroup::Show(ScreenArea area) { Choice(area).SetChecked(true); }

ScreenArea FullScreenAreaGroup::Chosen() const {
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i)
        if (choices_[i]->Checked()) return ScreenAreaOfValue(i);
    return ScreenArea::PrimaryMonitor;
}

} // namespace settings
