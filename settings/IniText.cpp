#include "settings/IniText.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>

namespace settings {

namespace {

const std::string kUtf8Bom = "\xEF\xBB\xBF";
const std::string kUtf16LEBom = "\xFF\xFE";
const std::string kUtf16BEBom = "\xFE\xFF";

// Blanks around names and values, as the profile functions see them; Ctrl+Z
// is what old editors left at the end of a file.
const wchar_t* const kBlanks = L" \t\r\n\v\f\x1A";

std::wstring Trimmed(const std::wstring& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(const std::wstring& a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
           CSTR_EQUAL;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const std::string& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p++;
        if (c < 0x80) continue;
        int more;
        std::uint32_t code;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            code = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            code = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            code = c & 0x07;
        } else {
            return false;
        }
        if (end - p < more) return false;
        for (int i = 0; i < more; ++i, ++p) {
            if ((*p & 0xC0) != 0x80) return false;
            code = code << 6 | (*p & 0x3F);
        }
        if ((more == 2 && code < 0x800) || (more == 3 && code < 0x10000) || code > 0x10FFFF ||
            (code >= 0xD800 && code <= 0xDFFF))
            return false;
    }
    return true;
}

bool IsAscii(const std::string& bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool IsUtf16(TextEncoding encoding) { return encoding == TextEncoding::Utf16LE || encoding == TextEncoding::Utf16BE; }

UINT CodePage(TextEncoding encoding) { return encoding == TextEncoding::Ansi ? CP_ACP : CP_UTF8; }

std::wstring MultiByteText(const std::string& bytes, UINT codePage, DWORD flags) {
    if (bytes.empty()) return {};
    const int size = static_cast<int>(bytes.size());
    const int length = MultiByteToWideChar(codePage, flags, bytes.data(), size, nullptr, 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(codePage, flags, bytes.data(), size, text.data(), length);
    return text;
}

std::string MultiByteBytes(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(codePage, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (length <= 0) return {};
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// The text of one line's bytes; damaged tells whether any byte did not decode.
std::wstring Decode(const std::string& bytes, TextEncoding encoding, bool& damaged) {
    if (IsUtf16(encoding)) {
        const bool bigEndian = encoding == TextEncoding::Utf16BE;
        std::wstring text;
        text.reserve(bytes.size() / 2 + 1);
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]), second = static_cast<unsigned char>(bytes[i + 1]);
            text += static_cast<wchar_t>(bigEndian ? first << 8 | second : second << 8 | first);
        }
        damaged = bytes.size() % 2 != 0;
        if (damaged) text += L'\xFFFD';
        return text;
    }
    if (encoding == TextEncoding::Ansi) {
        // A code page with lead bytes can meet a byte that leads nowhere.
        damaged = !bytes.empty() && MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes.data(),
                                                        static_cast<int>(bytes.size()), nullptr, 0) <= 0;
    } else {
        damaged = !IsValidUtf8(bytes);
    }
    return MultiByteText(bytes, CodePage(encoding), 0);
}

// The bytes of a text, or nothing when the encoding cannot hold every character.
std::optional<std::string> Encode(const std::wstring& text, TextEncoding encoding) {
    if (IsUtf16(encoding)) {
        const bool bigEndian = encoding == TextEncoding::Utf16BE;
        std::string bytes;
        bytes.reserve(text.size() * 2);
        for (const wchar_t c : text) {
            const auto unit = static_cast<std::uint16_t>(c);
            const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
            bytes += bigEndian ? high : low;
            bytes += bigEndian ? low : high;
        }
        return bytes;
    }
    std::string bytes = MultiByteBytes(text, CodePage(encoding));
    // The code page may put another character (a '?' or a look-alike) where
    // it has none: only a text that reads back the same is held.
    if (MultiByteText(bytes, CodePage(encoding), 0) != text) return std::nullopt;
    return bytes;
}

std::string ByteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::Utf8WithBom:
        return kUtf8Bom;
    case TextEncoding::Utf16LE:
        return kUtf16LEBom;
    case TextEncoding::Utf16BE:
        return kUtf16BEBom;
    default:
        return {};
    }
}

// What a line is to the profile functions.
struct LineMeaning {
    enum Kind { Blank, Section, Key } kind = Blank;
    std::wstring name;
    // A key line without "=" names a key that has no value.
    std::optional<std::wstring> value;
};

LineMeaning Meaning(const std::wstring& line) {
    const std::wstring text = Trimmed(line);
    if (text.empty()) return {};
    if (text[0] == L'[') {
        const size_t close = text.rfind(L']');
        if (close != std::wstring::npos && close > 0)
            return {LineMeaning::Section, Trimmed(text.substr(1, close - 1)), std::nullopt};
    }
    const size_t equals = text.find(L'=');
    if (equals == std::wstring::npos) return {LineMeaning::Key, text, std::nullopt};
    return {LineMeaning::Key, Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1))};
}

} // namespace

TextEncoding DetectTextEncoding(const std::string& bytes) {
    if (bytes.starts_with(kUtf8Bom)) return TextEncoding::Utf8WithBom;
    if (bytes.starts_with(kUtf16LEBom)) return TextEncoding::Utf16LE;
    if (bytes.starts_with(kUtf16BEBom)) return TextEncoding::Utf16BE;
    if (!IsAscii(bytes) && IsValidUtf8(bytes)) return TextEncoding::Utf8;
    return TextEncoding::Ansi;
}

IniText::IniText(const std::string& bytes) : encoding_(DetectTextEncoding(bytes)) {
    const size_t unit = IsUtf16(encoding_) ? 2 : 1;
    const auto isUnit = [&](size_t at, char c) {
        if (unit == 1) return bytes[at] == c;
        const bool bigEndian = encoding_ == TextEncoding::Utf16BE;
        return at + 1 < bytes.size() && bytes[at + (bigEndian ? 1 : 0)] == c && bytes[at + (bigEndian ? 0 : 1)] == 0;
    };
    size_t start = ByteOrderMark(encoding_).size();
    while (start < bytes.size()) {
        size_t end = start;
        while (end < bytes.size() && !isUnit(end, '\n'))
            end += unit;
        end = std::min(end, bytes.size());
        Line line;
        size_t textEnd = end;
        if (end < bytes.size()) {
            line.ending = L"\n";
            if (textEnd >= start + unit && isUnit(textEnd - unit, '\r')) {
                textEnd -= unit;
                line.ending = L"\r\n";
            }
        }
        line.bytes = bytes.substr(start, textEnd - start);
        line.text = Decode(line.bytes, encoding_, line.damaged);
        lines_.push_back(std::move(line));
        start = end + unit;
    }
}

std::optional<size_t> IniText::FindSection(const std::wstring& section) const {
    const std::wstring wanted = Trimmed(section);
    for (size_t i = 0; i < lines_.size(); ++i) {
        const LineMeaning meaning = Meaning(lines_[i].text);
        if (meaning.kind == LineMeaning::Section && SameName(meaning.name, wanted)) return i;
    }
    return std::nullopt;
}

std::optional<size_t> IniText::FindKey(size_t sectionLine, const std::wstring& key) const {
    const std::wstring wanted = Trimmed(key);
    for (size_t i = sectionLine + 1; i < lines_.size(); ++i) {
        const LineMeaning meaning = Meaning(lines_[i].text);
        if (meaning.kind == LineMeaning::Section) break;
        if (meaning.kind == LineMeaning::Key && SameName(meaning.name, wanted)) return i;
    }
    return std::nullopt;
}

std::optional<std::wstring> IniText::Value(const std::wstring& section, const std::wstring& key) const {
    const std::optional<size_t> header = FindSection(section);
    const std::optional<size_t> line = header ? FindKey(*header, key) : std::nullopt;
    if (!line || lines_[*line].damaged) return std::nullopt;
    std::optional<std::wstring> value = Meaning(lines_[*line].text).value;
    // The profile functions hand values over as C strings: a NUL ends one.
    if (value) value->resize(std::wcslen(value->c_str()));
    return value;
}

bool IniText::Encode(Line& line) const {
    std::optional<std::string> bytes = settings::Encode(line.text, encoding_);
    if (!bytes) return false;
    line.bytes = std::move(*bytes);
    line.damaged = false;
    return true;
}

void IniText::ConvertToUtf16() {
    encoding_ = TextEncoding::Utf16LE;
    for (Line& line : lines_)
        Encode(line);
}

void IniText::SetLine(size_t index, std::wstring text) {
    Line& line = lines_[index];
    line.text = std::move(text);
    if (!Encode(line)) ConvertToUtf16();
}

void IniText::InsertLine(size_t index, std::wstring text) {
    // The line before the new one may have been the last, without a break.
    if (index > 0 && lines_[index - 1].ending.empty()) lines_[index - 1].ending = L"\r\n";
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(index), Line{.ending = L"\r\n"});
    SetLine(index, std::move(text));
}

void IniText::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    const std::optional<size_t> header = FindSection(section);
    if (!header) {
        InsertLine(lines_.size(), L"[" + section + L"]");
        InsertLine(lines_.size(), key + L"=" + value);
        return;
    }
    if (const std::optional<size_t> line = FindKey(*header, key)) {
        // The key keeps its spelling in the file.
        SetLine(*line, Meaning(lines_[*line].text).name + L"=" + value);
        return;
    }
    // After the section's last line that is not blank, so that blank lines
    // before the next section stay where they are.
    size_t after = *header;
    for (size_t i = *header + 1; i < lines_.size(); ++i) {
        const LineMeaning meaning = Meaning(lines_[i].text);
        if (meaning.kind == LineMeaning::Section) break;
        if (meaning.kind != LineMeaning::Blank) after = i;
    }
    InsertLine(after + 1, key + L"=" + value);
}

std::string IniText::Bytes() const {
    std::string bytes = ByteOrderMark(encoding_);
    for (const Line& line : lines_) {
        bytes += line.bytes;
        bytes += settings::Encode(line.ending, encoding_).value_or(std::string());
    }
    return bytes;
}

} // namespace settings
