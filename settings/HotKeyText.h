// Key combinations as a user reads and writes them: "Ctrl+1", "Ctrl+Shift+F",
// "Alt+PrintScreen", "PrintScreen". The settings file, the menus, the main
// window and the messages all go through these two functions, so that a key
// reads the same everywhere.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace settings {

// A key with the modifiers held with it. The modifiers are RegisterHotKey's
// MOD_CONTROL, MOD_SHIFT, MOD_ALT and MOD_WIN; a key of 0 means no key at all.
struct KeyCombination {
    UINT modifiers = 0;
    UINT key = 0;

    bool Empty() const { return key == 0; }
    bool operator==(const KeyCombination&) const = default;
};

// "Ctrl+Shift+Alt+Win+" as held, then the key's name; empty for no key. A
// key without a name of its own is written as its virtual-key code, "#123".
std::wstring KeyCombinationText(KeyCombination combination);

// The combination a text names (any letter case, blanks around the parts
// allowed); an empty text is no key. Nothing for a text that names no key,
// such as "Ctrl+" or "Ctrl+Banana".
std::optional<KeyCombination> ParseKeyCombination(const std::wstring& text);

} // namespace settings
