#include "app/GlobalHotKeys.h"

namespace app {

namespace {

using capture::CaptureMethod;

struct HotKeyRow {
    const wchar_t* atomName;
    UINT key;
    HotKey hotKey;
};

// In registration order. The atom names are seen by other programs: keep them.
constexpr HotKeyRow kHotKeys[GlobalHotKeys::kCount] = {
    {L"MyCtrl1HotKey", '1', {HotKeyAction::Capture, CaptureMethod::FullScreen}},
    {L"MyCtrl2HotKey", '2', {HotKeyAction::Capture, CaptureMethod::ActiveWindow}},
    {L"MyCtrl3HotKey", '3', {HotKeyAction::Capture, CaptureMethod::Object}},
    {L"MyCtrl4HotKey", '4', {HotKeyAction::Capture, CaptureMethod::SelectedRegion}},
    {L"MyCtrl5HotKey", '5', {HotKeyAction::Capture, CaptureMethod::FixedRegion}},
    {L"MyCtrl6HotKey", 'R', {HotKeyAction::StartPeriodic}},
    {L"MyCtrl7HotKey", 'S', {HotKeyAction::StopPeriodic}},
};

// String atoms lie in 0xC000-0xFFFF; the identifier is the atom's offset in
// that range, which keeps it inside what RegisterHotKey accepts.
constexpr int kStringAtomBase = 0xC000;

} // namespace

GlobalHotKeys::GlobalHotKeys(HWND window) : window_(window) {
    ids_.fill(kNone);
    for (int i = 0; i < kCount; ++i) {
        const ATOM atom = GlobalAddAtomW(kHotKeys[i].atomName);
        if (!atom) continue;
        ids_[i] = static_cast<int>(atom) - kStringAtomBase;
        // Another program may hold the combination already; the rest still work.
        RegisterHotKey(window_, ids_[i], MOD_CONTROL, kHotKeys[i].key);
    }
}

GlobalHotKeys::~GlobalHotKeys() { Release(); }

void GlobalHotKeys::Release() {
    for (int& id : ids_) {
        if (id == kNone) continue;
        UnregisterHotKey(window_, id);
        GlobalDeleteAtom(static_cast<ATOM>(id + kStringAtomBase));
        id = kNone;
    }
}

std::optional<HotKey> GlobalHotKeys::Match(LPARAM lParam) {
    if (LOWORD(lParam) != MOD_CONTROL) return std::nullopt;
    for (const HotKeyRow& row : kHotKeys)
        if (HIWORD(lParam) == row.key) return row.hotKey;
    return std::nullopt;
}

} // namespace app
