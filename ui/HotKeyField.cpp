#include "ui/HotKeyField.h"

namespace ui {

namespace {

// The field speaks HOTKEYF_* flags, whose Shift and Alt bits are the other
// way round from RegisterHotKey's MOD_* flags.
UINT ModifiersOfField(BYTE flags) {
    return ((flags & HOTKEYF_CONTROL) ? MOD_CONTROL : 0) | ((flags & HOTKEYF_SHIFT) ? MOD_SHIFT : 0) |
           ((flags & HOTKEYF_ALT) ? MOD_ALT : 0);
}

BYTE FieldFlagsOf(UINT modifiers) {
    return static_cast<BYTE>(((modifiers & MOD_CONTROL) ? HOTKEYF_CONTROL : 0) |
                             ((modifiers & MOD_SHIFT) ? HOTKEYF_SHIFT : 0) | ((modifiers & MOD_ALT) ? HOTKEYF_ALT : 0));
}

bool Held(int key) { return GetKeyState(key) < 0; }

} // namespace

HotKeyField::HotKeyField(HostWindow& host, const NativeControlArgs& args) {
    RegisterCommonControlClasses(ICC_HOTKEY_CLASS);
    Create(host, HOTKEY_CLASSW, WS_TABSTOP, WS_EX_CLIENTEDGE, args);
    // A letter or digit alone would take the key from every program: the
    // field adds Ctrl to such a key, as it does to one with Shift alone.
    SendMessageW(Handle(), HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL, 0));
    SetWindowSubclass(Handle(), &HotKeyField::FieldProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

UINT HotKeyField::ShownModifiers() const {
    return ModifiersOfField(HIBYTE(LOWORD(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0))));
}

UINT HotKeyField::ShownKey() const { return LOBYTE(LOWORD(SendMessageW(Handle(), HKM_GETHOTKEY, 0, 0))); }

UINT HotKeyField::Modifiers() const {
    // The Windows key set from code survives while the field shows the rest unchanged.
    if (ShownKey() == key_ && ShownModifiers() == (modifiers_ & ~MOD_WIN)) return modifiers_;
    return ShownModifiers();
}

UINT HotKeyField::Key() const { return ShownKey(); }

void HotKeyField::SetKey(UINT modifiers, UINT key) {
    modifiers_ = key ? modifiers : 0;
    key_ = key;
    SendMessageW(Handle(), HKM_SETHOTKEY, key ? MAKEWORD(key, FieldFlagsOf(modifiers)) : 0, 0);
}

void HotKeyField::Command(WORD code) {
    if (code == EN_CHANGE && OnChange) OnChange();
}

LRESULT CALLBACK HotKeyField::FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                        DWORD_PTR self) noexcept {
    auto* field = reinterpret_cast<HotKeyField*>(self);
    const bool keyUp = message == WM_KEYUP || message == WM_SYSKEYUP;
    const bool keyDown = message == WM_KEYDOWN || message == WM_SYSKEYDOWN;
    const bool noModifier = !Held(VK_CONTROL) && !Held(VK_SHIFT) && !Held(VK_MENU);
    if ((keyUp && wParam == VK_SNAPSHOT) || (keyDown && noModifier && (wParam == VK_BACK || wParam == VK_DELETE))) {
        // Windows sends PrintScreen to a window only as a key-up, which the
        // field ignores; and the field takes Backspace and Delete for no key
        // on some systems only. Either way the field is set here, as the user
        // meant, and tells its parent as it would itself.
        if (wParam == VK_SNAPSHOT) {
            const UINT modifiers =
                (Held(VK_CONTROL) ? MOD_CONTROL : 0) | (Held(VK_SHIFT) ? MOD_SHIFT : 0) | (Held(VK_MENU) ? MOD_ALT : 0);
            field->SetKey(modifiers, VK_SNAPSHOT);
        } else {
            field->SetKey(0, 0);
        }
        SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), EN_CHANGE),
                     reinterpret_cast<LPARAM>(hwnd));
        return 0;
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace ui
