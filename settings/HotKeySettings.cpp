#include "settings/HotKeySettings.h"

namespace settings {

namespace {

const wchar_t* const kSection = L"Options";

struct CommandRow {
    const wchar_t* configKey;
    const wchar_t* name;
    KeyCombination defaultKey;
};

// In HotKeyCommand order.
constexpr CommandRow kCommands[kHotKeyCommandCount] = {
    {L"HotKeyFullScreen", L"Full Screen", {MOD_CONTROL, '1'}},
    {L"HotKeyActiveWindow", L"Active Window", {MOD_CONTROL, '2'}},
    {L"HotKeyObject", L"Object", {MOD_CONTROL, '3'}},
    {L"HotKeySelectedRegion", L"Selected Region", {MOD_CONTROL, '4'}},
    {L"HotKeyFixedRegion", L"Fixed Region", {MOD_CONTROL, '5'}},
    {L"HotKeyStartPeriodic", L"Real Time Capture", {MOD_CONTROL, 'R'}},
    {L"HotKeyStopPeriodic", L"Stop Real Time Capture", {MOD_CONTROL, 'S'}},
    {L"CaptureKey", L"Capture key", {MOD_CONTROL, 'D'}},
};

// What ReadString gives for a missing key: a control character that no key
// name holds. (A blank would not do: the profile functions trim the fallback.)
const wchar_t* const kMissing = L"\x01";

} // namespace

HotKeyTable DefaultHotKeys() {
    HotKeyTable keys;
    for (int i = 0; i < kHotKeyCommandCount; ++i)
        keys[i] = kCommands[i].defaultKey;
    return keys;
}

const wchar_t* HotKeyCommandName(HotKeyCommand command) { return kCommands[static_cast<int>(command)].name; }

void LoadHotKeys(const IniFile& file, HotKeyTable& keys) {
    for (int i = 0; i < kHotKeyCommandCount; ++i) {
        const std::wstring text = file.ReadString(kSection, kCommands[i].configKey, kMissing);
        const std::optional<KeyCombination> parsed = text == kMissing ? std::nullopt : ParseKeyCombination(text);
        keys[i] = parsed.value_or(kCommands[i].defaultKey);
    }
}

void WriteHotKeys(IniFile& file, const HotKeyTable& keys) {
    for (int i = 0; i < kHotKeyCommandCount; ++i)
        file.WriteString(kSection, kCommands[i].configKey, KeyCombinationText(keys[i]));
}

std::optional<std::pair<HotKeyCommand, HotKeyCommand>> FindSharedKey(const HotKeyTable& keys) {
    for (int i = 0; i < kHotKeyCommandCount; ++i)
        for (int j = i + 1; j < kHotKeyCommandCount; ++j)
            if (!keys[i].Empty() && keys[i] == keys[j])
                return std::pair{static_cast<HotKeyCommand>(i), static_cast<HotKeyCommand>(j)};
    return std::nullopt;
}

} // namespace settings
