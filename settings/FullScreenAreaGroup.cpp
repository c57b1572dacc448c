#include "settings/FullScreenAreaGroup.h"

namespace settings {

namespace {

constexpr const wchar_t* kCaptions[] = {L"The primary monitor", L"The monitor under the mouse", L"Every monitor"};
constexpr int kFirstRow = 22, kRowHeight = 22, kInset = 16;

} // namespace

FullScreenAreaGroup::FullScreenAreaGroup(ui::HostWindow& host, POINT origin, int width, HFONT font,
                                         COLORREF background) {
    frame_.SetBounds(origin.x, origin.y, width, kHeight);
    frame_.SetCaption(L"Full Screen Takes");
    frame_.Font = font;
    host.AddControl(frame_);
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i)
        // The first choice starts a keyboard group: the arrow keys move
        // between the three, Tab past them.
        choices_[i] = std::make_unique<ui::RadioButton>(
            host, ui::NativeControlArgs{.text = kCaptions[i],
                                        .x = origin.x + kInset,
                                        .y = origin.y + kFirstRow + i * kRowHeight,
                                        .width = width - 2 * kInset,
                                        .height = 17,
                                        .font = font,
                                        .background = background,
                                        .style = i == 0 ? static_cast<DWORD>(WS_GROUP) : 0});
}

void FullScreenAreaGroup::Show(ScreenArea area) { Choice(area).SetChecked(true); }

ScreenArea FullScreenAreaGroup::Chosen() const {
    for (int i = 0; i < static_cast<int>(choices_.size()); ++i)
        if (choices_[i]->Checked()) return ScreenAreaOfValue(i);
    return ScreenArea::PrimaryMonitor;
}

} // namespace settings
