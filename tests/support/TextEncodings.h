// Texts as files in the encodings that users' editors write, made and read
// with the system's converters, for tests of files that Snapora reads and
// writes.
#pragma once

#include <windows.h>

#include <string>

namespace support {

enum class FileEncoding { Ansi, Utf8, Utf8WithBom, Utf16LE };

inline const char* EncodingName(FileEncoding encoding) {
    switch (encoding) {
    case FileEncoding::Ansi:
        return "ANSI";
    case FileEncoding::Utf8:
        return "UTF-8";
    case FileEncoding::Utf8WithBom:
        return "UTF-8 with BOM";
    default:
        return "UTF-16LE";
    }
}

inline std::string ByteOrderMark(FileEncoding encoding) {
    if (encoding == FileEncoding::Utf8WithBom) return "\xEF\xBB\xBF";
    if (encoding == FileEncoding::Utf16LE) return "\xFF\xFE";
    return {};
}

// The bytes of a text in that encoding, without the byte-order mark.
inline std::string EncodedText(const std::wstring& text, FileEncoding encoding) {
    if (encoding == FileEncoding::Utf16LE) {
        std::string bytes;
        for (const wchar_t c : text) {
            bytes += static_cast<char>(c & 0xFF);
            bytes += static_cast<char>(c >> 8);
        }
        return bytes;
    }
    const UINT codePage = encoding == FileEncoding::Ansi ? CP_ACP : CP_UTF8;
    std::string bytes(text.size() * 4, '\0');
    bytes.resize(WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                                     static_cast<int>(bytes.size()), nullptr, nullptr));
    return bytes;
}

// A whole file: the byte-order mark, then the text.
inline std::string FileOfText(const std::wstring& text, FileEncoding encoding) {
    return ByteOrderMark(encoding) + EncodedText(text, encoding);
}

// Whether a file's bytes hold the text in that encoding.
inline bool FileHolds(const std::string& file, const std::wstring& text, FileEncoding encoding) {
    return file.find(EncodedText(text, encoding)) != std::string::npos;
}

} // namespace support
