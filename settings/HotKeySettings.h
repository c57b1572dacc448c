// The user's hotkeys: one key combination for each command that a key can
// start, their defaults, and their keys in config.ini.
#pragma once

#include "settings/HotKeyText.h"
#include "settings/IniFile.h"

#include <array>
#include <optional>
#include <utility>

namespace settings {

// The commands, in the order of their config.ini keys. The first five are
// the capture methods in their own order; the capture key is the one the
// keyboard hook watches, the others are system-wide hotkeys.
enum class HotKeyCommand {
    FullScreen,
    ActiveWindow,
    Object,
    SelectedRegion,
    FixedRegion,
    StartPeriodic,
    StopPeriodic,
    CaptureKey
};
inline constexpr int kHotKeyCommandCount = 8;

using HotKeyTable = std::array<KeyCombination, kHotKeyCommandCount>;

// Ctrl+1 to Ctrl+5, Ctrl+R, Ctrl+S and the capture key Ctrl+D.
HotKeyTable DefaultHotKeys();

// The command as the user reads it: "Full Screen", "Stop Real Time Capture", "Capture key".
const wchar_t* HotKeyCommandName(HotKeyCommand command);

// Reads each command's key; an empty value is no key, and a missing key or
// a value that names no key gives the command's default.
void LoadHotKeys(const IniFile& file, HotKeyTable& keys);
// Writes the commands' keys in their order, as KeyCombinationText writes them.
void WriteHotKeys(IniFile& file, const HotKeyTable& keys);

// The first two commands that share a key, or nothing when every key is
// another's (commands without a key share nothing).
std::optional<std::pair<HotKeyCommand, HotKeyCommand>> FindSharedKey(const HotKeyTable& keys);

} // namespace settings
