// The seven system-wide hotkeys, each registered under an identifier taken
// from a global atom of its own, for as long as the object lives; their keys
// are the user's, and can change while they live.
#pragma once

#include "capture/CaptureMethod.h"
#include "settings/HotKeySettings.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace app {

// What a hotkey asks for: a capture with a method, or the start or the stop
// of periodic capture.
enum class HotKeyAction { Capture, StartPeriodic, StopPeriodic };
struct HotKey {
    HotKeyAction action;
    capture::CaptureMethod method = capture::CaptureMethod::FullScreen; // for Capture
    bool operator==(const HotKey&) const = default;
};

class GlobalHotKeys {
public:
    // The first seven commands of the settings, in their order; the eighth,
    // the capture key, is the keyboard hook's.
    static constexpr int kCount = 7;
    // The identifier of a row whose atom could not be added.
    static constexpr int kNone = -1;

    // Adds the atoms and registers the first seven keys of the table for
    // window. A combination that another program holds already is missing
    // (see Refused); the rest still work.
    GlobalHotKeys(HWND window, const settings::HotKeyTable& keys);
    // Unregisters the hotkeys and deletes their atoms.
    ~GlobalHotKeys();
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // Registers other keys under the same identifiers, at once; a key that
    // another program held before is tried again.
    void Change(const settings::HotKeyTable& keys);
    // Same as the destructor, at once; harmless when done already.
    void Release();

    // The identifiers in registration order (kNone where no atom could be added).
    const std::array<int, kCount>& Ids() const { return ids_; }
    // The commands whose registration the system refused, in their order:
    // another program holds their keys.
    const std::vector<settings::HotKeyCommand>& Refused() const { return refused_; }

    // The hotkey a WM_HOTKEY message stands for, matched on its modifiers and
    // key (LPARAM) rather than on its identifier.
    std::optional<HotKey> Match(LPARAM lParam) const;

private:
    HWND window_;
    std::array<int, kCount> ids_;
    std::array<settings::KeyCombination, kCount> keys_{};
    std::array<bool, kCount> registered_;
    std::vector<settings::HotKeyCommand> refused_;
};

// The message that names the refused hotkeys with their commands, keys as
// they are in the table; empty when none was refused.
std::wstring RefusedHotKeysMessage(const std::vector<settings::HotKeyCommand>& refused,
                                   const settings::HotKeyTable& keys);

} // namespace app
