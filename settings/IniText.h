// The text of an INI file as its bytes hold it, in whichever encoding a
// user's editor wrote: UTF-8 with or without a byte-order mark, UTF-16 with
// one, or the system's ANSI code page. Reading and writing follow the rules
// of the platform's profile functions: section and key names match without
// regard to case, blanks around names and values are ignored, the first
// matching section and the first matching key in it win, and every line that
// is not written keeps its bytes.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace settings {

enum class TextEncoding { Ansi, Utf8, Utf8WithBom, Utf16LE, Utf16BE };

// The encoding of a file's bytes: the one its byte-order mark names; else
// UTF-8 when the bytes are valid UTF-8 and not all ASCII; else ANSI.
TextEncoding DetectTextEncoding(const std::string& bytes);

class IniText {
public:
    // An empty file: ANSI, as the profile functions create one.
    IniText() = default;
    explicit IniText(const std::string& bytes);

    TextEncoding Encoding() const { return encoding_; }

    // The value of the first matching key of the first matching section,
    // blanks trimmed and quotes kept; nothing when the key is missing, its
    // line has no "=", or its bytes are damaged in the file's encoding.
    std::optional<std::wstring> Value(const std::wstring& section, const std::wstring& key) const;

    // Replaces the key's line, or adds the key after the last line of the
    // section, or the section with the key at the end of the text. A value
    // that the file's encoding cannot hold turns the whole text into UTF-16LE
    // with a byte-order mark, which the profile functions read natively.
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);

    std::string Bytes() const;

private:
    struct Line {
        std::string bytes;   // the line in the file's encoding, without its line break
        std::wstring ending; // the line break as it was: CR LF, LF or none
        std::wstring text;   // the line decoded, with U+FFFD for bytes that do not decode
        bool damaged = false;
    };

    // Index of the header line of the first matching section.
    std::optional<size_t> FindSection(const std::wstring& section) const;
    // Index of the first matching key line after the header at sectionLine.
    std::optional<size_t> FindKey(size_t sectionLine, const std::wstring& key) const;
    // Puts text into the line's bytes; false when the encoding cannot hold it.
    bool Encode(Line& line) const;
    void SetLine(size_t index, std::wstring text);
    void InsertLine(size_t index, std::wstring text);
    void ConvertToUtf16();

    TextEncoding encoding_ = TextEncoding::Ansi;
    std::vector<Line> lines_;
};

} // namespace settings
