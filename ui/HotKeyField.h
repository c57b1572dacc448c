// The platform's hotkey field (msctls_hotkey32) on a host window: the user
// presses a key combination and the field shows and holds it. Backspace or
// Delete alone clears it, meaning no key; PrintScreen, which the platform
// delivers to a window only as its key-up, is recorded by the field itself.
#pragma once

#include "ui/NativeControls.h"

#include <commctrl.h>

namespace ui {

class HotKeyField : public NativeControl {
public:
    HotKeyField(HostWindow& host, const NativeControlArgs& args);

    // The combination shown: modifiers as RegisterHotKey takes them
    // (MOD_CONTROL, MOD_SHIFT, MOD_ALT, MOD_WIN), and the virtual key, 0 for none.
    UINT Modifiers() const;
    UINT Key() const;
    // Shows a combination; a key of 0 clears the field. The field cannot show
    // the Windows key, but keeps it while the user does not change the key.
    void SetKey(UINT modifiers, UINT key);

    // Raised when the user changes the combination.
    std::function<void()> OnChange;
    void Command(WORD code) override;

private:
    // The combination as the field shows it, in MOD_* flags.
    UINT ShownModifiers() const;
    UINT ShownKey() const;
    static LRESULT CALLBACK FieldProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self) noexcept;

    // The combination last set from code, with a Windows key the field cannot show.
    UINT modifiers_ = 0;
    UINT key_ = 0;
};

} // namespace ui
