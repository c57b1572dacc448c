#include "capture/PictureFolder.h"

#include <windows.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace capture {

namespace {

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// "dddd-dd-dd dd_dd_dd", with the separators where periodic capture puts them.
bool IsTimeStamp(const std::wstring& text) {
    static constexpr wchar_t kPattern[] = L"dddd-dd-dd dd_dd_dd";
    if (text.size() != std::size(kPattern) - 1) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (kPattern[i] == L'd' ? !IsDigit(text[i]) : text[i] != kPattern[i]) return false;
    return true;
}

} // namespace

std::optional<OwnPictureName> ParseOwnPictureName(const std::wstring& fileName) {
    constexpr size_t kStampLength = 19, kExtensionLength = 4;
    if (fileName.size() < kStampLength + kExtensionLength) return std::nullopt;
    const std::wstring extension = fileName.substr(fileName.size() - kExtensionLength);
    if (extension != L".jpg" && extension != L".png") return std::nullopt;
    OwnPictureName name{fileName.substr(0, kStampLength), 1};
    if (!IsTimeStamp(name.timeStamp)) return std::nullopt;
    const std::wstring middle = fileName.substr(kStampLength, fileName.size() - kStampLength - kExtensionLength);
    if (middle.empty()) return name;
    // " (n)": the digits of a number from 2 up, without a leading zero, and
    // short enough to fit an int.
    if (middle.size() < 4 || middle.size() > 4 + 8 || middle.compare(0, 2, L" (") != 0 || middle.back() != L')')
        return std::nullopt;
    const std::wstring digits = middle.substr(2, middle.size() - 3);
    if (digits[0] == L'0' || !std::all_of(digits.begin(), digits.end(), IsDigit)) return std::nullopt;
    name.number = std::stoi(digits);
    if (name.number < 2) return std::nullopt;
    return name;
}

bool OlderPicture(const OwnPictureName& a, const OwnPictureName& b) {
    return std::tie(a.timeStamp, a.number) < std::tie(b.timeStamp, b.number);
}

int PruneOwnPictures(const std::wstring& folder, int keep) {
    if (keep <= 0) return 0;
    struct Found {
        OwnPictureName name;
        std::wstring fileName;
    };
    std::vector<Found> pictures;
    WIN32_FIND_DATAW data{};
    HANDLE search =
        FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (auto name = ParseOwnPictureName(data.cFileName)) pictures.push_back({*name, data.cFileName});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    if (pictures.size() <= static_cast<size_t>(keep)) return 0;

    // A JPEG and a PNG of the same second and number are as old as each
    // other; the name decides, so that the order is always the same.
    std::sort(pictures.begin(), pictures.end(), [](const Found& a, const Found& b) {
        if (OlderPicture(a.name, b.name)) return true;
        if (OlderPicture(b.name, a.name)) return false;
        return a.fileName < b.fileName;
    });
    int deleted = 0;
    const size_t surplus = pictures.size() - static_cast<size_t>(keep);
    for (size_t i = 0; i < surplus; ++i)
        deleted += DeleteFileW((folder + L"\\" + pictures[i].fileName).c_str()) ? 1 : 0;
    return deleted;
}

} // namespace capture
