#include "settings/OptionValues.h"

#include "settings/IniFile.h"
#include "ui/Error.h"

#include <climits>
#include <cstdint>

namespace settings {

namespace {

std::wstring WithoutBlanks(const std::wstring& text) {
    const size_t first = text.find_first_not_of(L" \t");
    if (first == std::wstring::npos) return L"";
    const size_t last = text.find_last_not_of(L" \t");
    return text.substr(first, last - first + 1);
}

std::wstring LowerCase(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return text;
}

} // namespace

int IntegerOfText(const std::wstring& text) {
    // The same notation as the settings file's integers.
    if (const std::optional<int> value = ParseIniInteger(WithoutBlanks(text))) return *value;
    throw ui::Error(ui::FormatMessageText(L"'%s' is not a valid integer value", {text}));
}

int IntervalMilliseconds(const std::wstring& number, const TimeUnit& unit) {
    const std::optional<int> factor = unit.Milliseconds();
    if (!factor) throw ui::Error(L"The interval unit must be Seconds, Minutes or Hours");
    const int count = IntegerOfText(number);
    if (count < 0) throw ui::Error(L"The interval cannot be negative");
    const int longest = INT_MAX / *factor;
    if (count > longest)
        throw ui::Error(L"The interval is too long: the longest is " + std::to_wstring(longest) + L" " +
                        LowerCase(unit.Text()));
    return count * *factor;
}

std::optional<std::wstring> IntervalNumberText(int milliseconds, const TimeUnit& unit) {
    const std::optional<int> factor = unit.Milliseconds();
    if (!factor || milliseconds % *factor != 0) return std::nullopt;
    return std::to_wstring(milliseconds / *factor);
}

int FixedRegionSide(const std::wstring& text, const std::wstring& name) {
    const int side = IntegerOfText(text);
    if (side < 0 || side > kMaxFixedRegionSide)
        throw ui::Error(L"The fixed " + name + L" must be between 0 and " + std::to_wstring(kMaxFixedRegionSide) +
                        L" pixels");
    return side;
}

} // namespace settings
