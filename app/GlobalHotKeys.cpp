#include "app/GlobalHotKeys.h"

namespace app {

namespace {

using capture::CaptureMethod;

struct HotKeyRow {
    const wchar_t* atomName;
    HotKey hotKey;
};

// In the order of the settings' commands. The atom names are seen by other
// programs: keep them.
constexpr HotKeyRow kHotKeys[GlobalHotKeys::kCount] = {
    {L"MyCtrl1HotKey", {HotKeyAction::Capture, CaptureMethod::FullScreen}},
    {L"MyCtrl2HotKey", {HotKeyAction::Capture, CaptureMethod::ActiveWindow}},
    {L"MyCtrl3HotKey", {HotKeyAction::Capture, CaptureMethod::Object}},
    {L"MyCtrl4HotKey", {HotKeyAction::Capture, CaptureMethod::SelectedRegion}},
    {L"MyCtrl5HotKey", {HotKeyAction::Capture, CaptureMethod::FixedRegion}},
    {L"MyCtrl6HotKey", {HotKeyAction::StartPeriodic}},
    {L"MyCtrl7HotKey", {HotKeyAction::StopPeriodic}},
};

// String atoms lie in 0xC000-0xFFFF; the identifier is the atom's offset in
// that range, which keeps it inside what RegisterHotKey accepts.
constexpr int kStringAtomBase = 0xC000;

} // namespace

GlobalHotKeys::GlobalHotKeys(HWND window, const settings::HotKeyTable& keys) : window_(window) {
    ids_.fill(kNone);
    registered_.fill(false);
    for (int i = 0; i < kCount; ++i)
        if (const ATOM atom = GlobalAddAtomW(kHotKeys[i].atomName)) ids_[i] = static_cast<int>(atom) - kStringAtomBase;
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
        if (!registered_[i]) refused_.push_back(static_cast<settings::HotKeyCommand>(i));
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

std::optional<HotKey> GlobalHotKeys::Match(LPARAM lParam) const {
    const settings::KeyCombination pressed{LOWORD(lParam), HIWORD(lParam)};
    for (int i = 0; i < kCount; ++i)
        if (!keys_[i].Empty() && keys_[i] == pressed) return kHotKeys[i].hotKey;
    return std::nullopt;
}

std::wstring RefusedHotKeysMessage(const std::vector<settings::HotKeyCommand>& refused,
                                   const settings::HotKeyTable& keys) {
    if (refused.empty()) return {};
    std::wstring text = L"Another program holds these hotkeys, so they do nothing in Snapora:\r\n";
    for (settings::HotKeyCommand command : refused)
        text += L"\r\n" + settings::KeyCombinationText(keys[static_cast<int>(command)]) + L" (" +
                settings::HotKeyCommandName(command) + L")";
    return text + L"\r\n\r\nChoose other keys in More Options.";
}

} // namespace app
