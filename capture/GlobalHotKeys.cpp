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
    registered_.fill(false);
    for (int i = 0; i < kCount; ++i)
        if (const ATOM atom = GlobalAddAtomW(kAtomNames[i])) ids_[i] = static_cast<int>(atom) - kStringAtomBase;
    Change(keys);
}

GlobalHotKeys::~GlobalHotKeys() { Release(); }

void GlobalHotKeys::Change(const settings::HotKeyTable& keys) {
    // A key that stays registered is left alone, so that it never misses a
    // press; the changed ones are all let go before any is taken, so that
    // two commands can swap their keys.
    for (int i = 0; i < kCount; ++i) {
        if (keys[i] == keys_[i] && registered_[i]) continue;
        if (registered_[i]) UnregisterHotKey(window_, ids_[i]);
        registered_[i] = false;
        keys_[i] = keys[i];
    }
    refused_.clear();
    for (int i = 0; i < kCount; ++i) {
        if (registered_[i] || ids_[i] == kNone || keys_[i].Empty()) continue;
        // Another program may hold the combination already; the rest still work.
        registered_[i] = RegisterHotKey(window_, ids_[i], keys_[i].modifiers, keys_[i].key) != FALSE;
        if (!registered_[i]) refused_.push_back(static_cast<HotKey>(i));
    }
}

void GlobalHotKeys::Release() {
    for (int& id : ids_) {
        if (id == kNone) continue;
        UnregisterHotKey(window_, id);
        GlobalDeleteAtom(static_cast<ATOM>(id + kStringAtomBase));
        id = kNone;
    }
    registered_.fill(false);
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
