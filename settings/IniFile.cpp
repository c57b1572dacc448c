#include "settings/IniFile.h"

#include "ui/Error.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace settings {

std::optional<int> ParseIniInteger(const std::wstring& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';

    int base = 10;
    if (text.compare(i, 2, L"0x") == 0 || text.compare(i, 2, L"0X") == 0) {
        base = 16;
        i += 2;
    } else if (i < text.size() && text[i] == L'$') {
        base = 16;
        i += 1;
    }
    if (i >= text.size()) return std::nullopt;

    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (base == 16 && c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (base == 16 && c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return std::nullopt;
        value = value * base + digit;
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    if (base == 10) {
        // Decimal text must name a 32-bit value.
        if (!negative && value > 0x7FFFFFFFull) return std::nullopt;
        if (negative && value > 0x80000000ull) return std::nullopt;
        return negative ? static_cast<int>(-static_cast<std::int64_t>(value)) : static_cast<int>(value);
    }
    // Hexadecimal text is a 32-bit pattern: $FFFFFFFF is -1.
    const auto pattern = static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
    return negative ? -pattern : pattern;
}

std::wstring IniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& fallback) const {
    std::vector<wchar_t> buffer(2048);
    for (;;) {
        const DWORD length = GetPrivateProfileStringW(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                                      static_cast<DWORD>(buffer.size()), path_.c_str());
        // A result that fills the buffer may have been cut short: try larger.
        if (length + 1 < buffer.size() || buffer.size() >= 65536) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int IniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
    return ParseIniInteger(ReadString(section, key, L"")).value_or(fallback);
}

bool IniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    // A read-only file is refused outright: an administrator (or root under
    // Wine) could otherwise write through the attribute the user set.
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    const bool readOnly = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
    if (readOnly || !WritePrivateProfileStringW(section.c_str(), key.c_str(), value.c_str(), path_.c_str()))
        throw ui::Error(ui::FormatMessageText(L"Unable to write to %s", {path_}));
}

void IniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void IniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

} // namespace settings
