#include "capture/CaptureKey.h"

#include "hook/hook.h"

#include <windows.h>

namespace capture {

void SendCaptureKey() {
    // One call for all four events: the system never interleaves them with
    // other input, so a Ctrl released by the user (or by the program that
    // sent the hotkey) cannot fall between our Ctrl and our D.
    INPUT keys[4]{};
    const WORD order[4] = {VK_CONTROL, 'D', 'D', VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        keys[i].type = INPUT_KEYBOARD;
        keys[i].ki.wVk = order[i];
        keys[i].ki.dwFlags = i < 2 ? 0 : KEYEVENTF_KEYUP;
        keys[i].ki.dwExtraInfo = kCaptureKeyTag;
    }
    SendInput(4, keys, sizeof(INPUT));
}

} // namespace capture
