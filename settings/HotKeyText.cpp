#include "settings/HotKeyText.h"

#include <algorithm>
#include <cwctype>

namespace settings {

namespace {

struct NamedKey {
    UINT key;
    const wchar_t* name;
};

// The keys whose name is not their own character. The punctuation keys are
// named by what they print on a US layout, as the virtual-key codes are.
constexpr NamedKey kNamedKeys[] = {
    {VK_SNAPSHOT, L"PrintScreen"},
    {VK_PAUSE, L"Pause"},
    {VK_SCROLL, L"ScrollLock"},
    {VK_INSERT, L"Insert"},
    {VK_DELETE, L"Delete"},
    {VK_HOME, L"Home"},
    {VK_END, L"End"},
    {VK_PRIOR, L"PageUp"},
    {VK_NEXT, L"PageDown"},
    {VK_LEFT, L"Left"},
    {VK_UP, L"Up"},
    {VK_RIGHT, L"Right"},
    {VK_DOWN, L"Down"},
    {VK_SPACE, L"Space"},
    {VK_RETURN, L"Enter"},
    {VK_TAB, L"Tab"},
    {VK_BACK, L"Backspace"},
    {VK_ESCAPE, L"Esc"},
    {VK_NUMPAD0, L"Num0"},
    {VK_NUMPAD1, L"Num1"},
    {VK_NUMPAD2, L"Num2"},
    {VK_NUMPAD3, L"Num3"},
    {VK_NUMPAD4, L"Num4"},
    {VK_NUMPAD5, L"Num5"},
    {VK_NUMPAD6, L"Num6"},
    {VK_NUMPAD7, L"Num7"},
    {VK_NUMPAD8, L"Num8"},
    {VK_NUMPAD9, L"Num9"},
    {VK_MULTIPLY, L"Num*"},
    {VK_ADD, L"Num+"},
    {VK_SUBTRACT, L"Num-"},
    {VK_DECIMAL, L"Num."},
    {VK_DIVIDE, L"Num/"},
    {VK_OEM_1, L";"},
    {VK_OEM_PLUS, L"="},
    {VK_OEM_COMMA, L","},
    {VK_OEM_MINUS, L"-"},
    {VK_OEM_PERIOD, L"."},
    {VK_OEM_2, L"/"},
    {VK_OEM_3, L"`"},
    {VK_OEM_4, L"["},
    {VK_OEM_5, L"\\"},
    {VK_OEM_6, L"]"},
    {VK_OEM_7, L"'"},
};

// In the order they are written.
constexpr NamedKey kModifiers[] = {{MOD_CONTROL, L"Ctrl"}, {MOD_SHIFT, L"Shift"}, {MOD_ALT, L"Alt"}, {MOD_WIN, L"Win"}};

bool SameText(std::wstring_view a, std::wstring_view b) {
    return std::ranges::equal(a, b, [](wchar_t x, wchar_t y) { return std::towlower(x) == std::towlower(y); });
}

std::wstring_view Trimmed(std::wstring_view text) {
    const auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<UINT> KeyOfName(std::wstring_view name) {
    if (name.size() == 1) {
        const wchar_t c = static_cast<wchar_t>(std::towupper(name[0]));
        if ((c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) return c;
    }
    if (name.size() >= 2 && (name[0] == L'F' || name[0] == L'f')) {
        int number = 0;
        for (wchar_t c : name.substr(1)) {
            if (c < L'0' || c > L'9' || number > 24) return std::nullopt;
            number = number * 10 + (c - L'0');
        }
        if (number >= 1 && number <= 24) return VK_F1 + number - 1;
        return std::nullopt;
    }
    for (const NamedKey& named : kNamedKeys)
        if (SameText(name, named.name)) return named.key;
    if (name.size() >= 2 && name[0] == L'#') {
        int code = 0;
        for (wchar_t c : name.substr(1)) {
            if (c < L'0' || c > L'9' || code > 255) return std::nullopt;
            code = code * 10 + (c - L'0');
        }
        if (code >= 1 && code <= 254) return static_cast<UINT>(code);
    }
    return std::nullopt;
}

std::wstring NameOfKey(UINT key) {
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::wstring(1, static_cast<wchar_t>(key));
    if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
    for (const NamedKey& named : kNamedKeys)
        if (named.key == key) return named.name;
    return L"#" + std::to_wstring(key);
}

} // namespace

std::wstring KeyCombinationText(KeyCombination combination) {
    if (combination.Empty()) return {};
    std::wstring text;
    for (const NamedKey& modifier : kModifiers)
        if (combination.modifiers & modifier.key) text += std::wstring(modifier.name) + L"+";
    return text + NameOfKey(combination.key);
}

std::optional<KeyCombination> ParseKeyCombination(const std::wstring& text) {
    std::wstring_view rest = Trimmed(text);
    KeyCombination combination;
    if (rest.empty()) return combination;
    // Modifiers come first, each followed by a plus; whatever is left names
    // the key, which may itself be a plus ("Ctrl+Num+").
    for (bool found = true; found;) {
        found = false;
        for (const NamedKey& modifier : kModifiers) {
            const std::wstring_view name = modifier.name;
            const size_t plus = rest.find(L'+');
            if (plus == std::wstring_view::npos || plus + 1 == rest.size()) break;
            if (!SameText(Trimmed(rest.substr(0, plus)), name)) continue;
            combination.modifiers |= modifier.key;
            rest = Trimmed(rest.substr(plus + 1));
            found = true;
            break;
        }
    }
    const std::optional<UINT> key = KeyOfName(rest);
    if (!key) return std::nullopt;
    combination.key = *key;
    return combination;
}

} // namespace settings
