#include "capture/GlobalHotKeys.h"

#include <algorithm>

namespace capture {

namespace {

// In HotKey order. The atom names are seen by other programs: keep them.
constexpr const wchar_t* kAtomNames[GlobalHotKeys::kCount] = {
    L"MyCtrl1HotKey", L"MyCtrl2HotKey", L"MyCtrl3HotKey", L"MyCtrl4HotKey",
    L"MyCtrl5HotKey", L"MyCtrl6HotKey", L"MyCtrl7HotKey",
};

// String atoms lie in 0xC000-0xFFFF; the identifier is the atom's offset in
// that range, which keeps it inside what RegisterHotKey accepts.
constexpr int kStringAtomBase = 0xC000;

} // namespace

GlobalHotKeys::GlobalHotKeys(HWND window, const settings::HotKeyTable& keys) : window_(window) {
    ids_.fill(kNone);
    std::copy_n(keys.begin(), kCount, keys_.begin());
    for (int i = 0; i < kCount; ++i)
        if (const ATOM atom = GlobalAddAtomW(kAtomNames[i])) ids_[i] = static_cast<int>(atom) - kStringAtomBase;
    RegisterKeys();
}

GlobalHotKeys::~GlobalHotKeys() { Release(); }

void GlobalHotKeys::Change(const settings::HotKeyTable& keys) {
    UnregisterKeys();
    std::copy_n(keys.begin(), kCount, keys_.begin());
    RegisterKeys();
}

void GlobalHotKeys::RegisterKeys() {
    refused_.clear();
    for (int i = 0; i < kCount; ++i) {
        if (ids_[i] == kNone || keys_[i].Empty()) continue;
        // Another program may hold the combination already; the rest still work.
        if (!RegisterHotKey(window_, ids_[i], keys_[i].modifiers, keys_[i].key))
            refused_.push_back(static_cast<HotKey>(i));
    }
}

void GlobalHotKeys::UnregisterKeys() {
    for (int id : ids_)
        if (id != kNone) UnregisterHotKey(window_, id);
}

void GlobalHotKeys::Release() {
    for (int& id : ids_) {
        if (id == kNone) continue;
        UnregisterHotKey(window_, id);
        GlobalDeleteAtom(static_cast<ATOM>(id + kStringAtomBase));
        id = kNone;
    }
}

std::wstring RefusedHotKeysMessage(const std::vector<HotKey>& refused, const settings::HotKeyTable& keys) {
    if (refused.empty()) return {};
    std::wstring text = L"Another program holds these hotkeys, so they do nothing in Snapora:\r\n";
    for (HotKey hotKey : refused)
        text += L"\r\n" + settings::KeyCombinationText(keys[static_cast<int>(hotKey)]) + L" (" +
                settings::HotKeyCommandName(hotKey) + L")";
    return text + L"\r\n\r\nChoose other keys in More Options.";
}

std::optional<HotKey> GlobalHotKeys::Match(LPARAM lParam) const {
    const settings::KeyCombination pressed{LOWORD(lParam), HIWORD(lParam)};
    for (int i = 0; i < kCount; ++i)
        if (!keys_[i].Empty() && keys_[i] == pressed) return static_cast<HotKey>(i);
    return std::nullopt;
}

} // namespace capture
