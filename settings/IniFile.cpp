#include "settings/IniFile.h"

#include "settings/IniText.h"
#include "ui/Error.h"

#include <windows.h>

#include <cstdint>

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

namespace {

// A file this large is no settings file: it is left alone, as unreadable.
constexpr LONGLONG kLargestFile = 64LL << 20;

// The file's bytes through an open handle; nothing when they cannot be read.
std::optional<std::string> ReadAllBytes(HANDLE file) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart > kLargestFile) return std::nullopt;
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return std::nullopt;
    bytes.resize(read);
    return bytes;
}

} // namespace

std::wstring IniFile::ReadString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& fallback) const {
    // As the profile functions do, a file that cannot be opened gives the fallback.
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return fallback;
    const std::optional<std::string> bytes = ReadAllBytes(file);
    CloseHandle(file);
    if (!bytes) return fallback;
    std::optional<std::wstring> value = IniText(*bytes).Value(section, key);
    if (!value) return fallback;
    // A value in matching quotes is read without them.
    if (value->size() >= 2 && (value->front() == L'"' || value->front() == L'\'') && value->back() == value->front())
        return value->substr(1, value->size() - 2);
    return *value;
}

int IniFile::ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const {
    return ParseIniInteger(ReadString(section, key, L"")).value_or(fallback);
}

bool IniFile::ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

void IniFile::WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const auto fail = [&] { throw ui::Error(ui::FormatMessageText(L"Unable to write to %s", {path_})); };
    // A read-only file is refused outright: an administrator (or root under
    // Wine) could otherwise write through the attribute the user set.
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) fail();
    // Read and written through one handle that lets others only read, so
    // that no other writer comes in between.
    HANDLE file = CreateFileW(path_.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) fail();
    bool written = false;
    if (const std::optional<std::string> bytes = ReadAllBytes(file)) {
        IniText text(*bytes);
        text.Set(section, key, value);
        const std::string result = text.Bytes();
        DWORD count = 0;
        written = SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 &&
                  WriteFile(file, result.data(), static_cast<DWORD>(result.size()), &count, nullptr) &&
                  count == result.size() && SetEndOfFile(file);
    }
    CloseHandle(file);
    if (!written) fail();
}

void IniFile::WriteInteger(const std::wstring& section, const std::wstring& key, int value) {
    WriteString(section, key, std::to_wstring(value));
}

void IniFile::WriteBool(const std::wstring& section, const std::wstring& key, bool value) {
    WriteString(section, key, value ? L"1" : L"0");
}

} // namespace settings
