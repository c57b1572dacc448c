// The seven global hotkeys of the main window, each registered under an
// identifier taken from a global atom of its own.
#include "capture/FrmCapture.h"

namespace {

struct HotKeyRow {
    const char* atomName;
    UINT key;
};

constexpr HotKeyRow kHotKeys[7] = {
    {"MyCtrl1HotKey", '1'}, {"MyCtrl2HotKey", '2'}, {"MyCtrl3HotKey", '3'}, {"MyCtrl4HotKey", '4'},
    {"MyCtrl5HotKey", '5'}, {"MyCtrl6HotKey", 'R'}, {"MyCtrl7HotKey", 'S'},
};

// String atoms lie in 0xC000-0xFFFF; the identifier is the atom's offset in
// that range, which keeps it inside what RegisterHotKey accepts.
constexpr int kStringAtomBase = 0xC000;

} // namespace

void TFrmCapture::RegisterHotKeys() {
    for (int i = 0; i < 7; ++i) {
        const ATOM atom = GlobalAddAtomA(kHotKeys[i].atomName);
        HotKeyIds[i] = atom ? static_cast<int>(atom) - kStringAtomBase : kNoHotKey;
        if (HotKeyIds[i] == kNoHotKey) continue;
        // Another program may hold the combination already; the rest still work.
        RegisterHotKey(Handle(), HotKeyIds[i], MOD_CONTROL, kHotKeys[i].key);
    }
}

void TFrmCapture::UnregisterHotKeys() {
    for (int& id : HotKeyIds) {
        if (id == kNoHotKey) continue;
        UnregisterHotKey(Handle(), id);
        GlobalDeleteAtom(static_cast<ATOM>(id + kStringAtomBase));
        id = kNoHotKey;
    }
}
