#include "settings/HotKeysGroup.h"

#include "ui/Error.h"

#include <algorithm>

namespace settings {

namespace {

constexpr int kFirstRowTop = 24, kRowStep = 26, kRowHeight = 20;
constexpr int kLabelLeft = 16, kLabelWidth = 150;
constexpr int kFieldLeft = 170, kFieldWidth = 130;
constexpr int kMarkLeft = 308, kMarkWidth = 80;

} // namespace

HotKeysGroup::HotKeysGroup(ui::HostWindow& host, POINT origin, HFONT font, COLORREF background)
    : SettingsGroup(host, origin, {kWidth, kHeight}, L"Hotkeys", font, background) {
    auto placed = [&](int left, int top, int width, const wchar_t* text) {
        return Placed(left, top, width, kRowHeight, text);
    };
    for (int i = 0; i < kHotKeyCommandCount; ++i) {
        const int top = kFirstRowTop + i * kRowStep;
        const wchar_t* name = HotKeyCommandName(static_cast<HotKeyCommand>(i));
        labels_[i].emplace(host, placed(kLabelLeft, top + 3, kLabelWidth, name));
        fields_[i].emplace(host, placed(kFieldLeft, top, kFieldWidth, L""));
        marks_[i].emplace(host, placed(kMarkLeft, top + 3, kMarkWidth, L"Held elsewhere"));
        marks_[i]->SetVisible(false);
    }
}

void HotKeysGroup::Show(const HotKeyTable& keys, const std::vector<HotKeyCommand>& heldElsewhere) {
    for (int i = 0; i < kHotKeyCommandCount; ++i) {
        fields_[i]->SetKey(keys[i].modifiers, keys[i].key);
        marks_[i]->SetVisible(std::ranges::find(heldElsewhere, static_cast<HotKeyCommand>(i)) != heldElsewhere.end());
    }
}

HotKeyTable HotKeysGroup::Read() const {
    HotKeyTable keys;
    for (int i = 0; i < kHotKeyCommandCount; ++i)
        keys[i] = {fields_[i]->Modifiers(), fields_[i]->Key()};
    if (const auto shared = FindSharedKey(keys)) {
        SetFocus(Field(shared->second));
        throw ui::Error(std::wstring(HotKeyCommandName(shared->first)) + L" and " + HotKeyCommandName(shared->second) +
                        L" have the same key, " + KeyCombinationText(keys[Index(shared->first)]) +
                        L". Give one of them another key.");
    }
    return keys;
}

} // namespace settings
