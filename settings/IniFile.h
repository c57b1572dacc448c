// An INI file bound to a path, read and written by the rules of the
// platform's profile functions in the file's own encoding (see IniText):
// every call goes straight to the file, nothing is cached.
#pragma once

#include <optional>
#include <string>

namespace settings {

// Reads an INI integer value: decimal with an optional sign, or hexadecimal
// after "0x", "0X" or "$". Anything else, or a value outside 32 bits, gives
// no result.
std::optional<int> ParseIniInteger(const std::wstring& text);

class IniFile {
public:
    explicit IniFile(std::wstring path) : path_(std::move(path)) {}

    const std::wstring& FileName() const { return path_; }

    std::wstring ReadString(const std::wstring& section, const std::wstring& key, const std::wstring& fallback) const;
    int ReadInteger(const std::wstring& section, const std::wstring& key, int fallback) const;
    // Any non-zero integer is true; a value that is not an integer is false.
    bool ReadBool(const std::wstring& section, const std::wstring& key, bool fallback) const;

    // Writing replaces the key's line, or appends it to the section, creating
    // section and file when missing; the file keeps its encoding unless the
    // value needs UTF-16. A failure throws "Unable to write to <path>".
    void WriteString(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void WriteInteger(const std::wstring& section, const std::wstring& key, int value);
    void WriteBool(const std::wstring& section, const std::wstring& key, bool value);

private:
    std::wstring path_;
};

} // namespace settings
