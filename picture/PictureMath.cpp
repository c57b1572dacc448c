#include "picture/PictureMath.h"

#include <algorithm>
#include <cwctype>

namespace picture {

std::optional<RECT> CropRectangle(int left, int top, int width, int height) {
    if (width == 0 || height == 0) return std::nullopt;
    const int right = left + width, bottom = top + height;
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

std::wstring ExtensionOf(const std::wstring& fileName) {
    const size_t slash = fileName.find_last_of(L"\\/");
    const size_t dot = fileName.find_last_of(L'.');
    if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return L"";
    return fileName.substr(dot);
}

ImageFormat FormatForFileName(const std::wstring& fileName) {
    std::wstring ext = ExtensionOf(fileName);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](wchar_t c) { return static_cast<wchar_t>(std::towlower(c)); });
    if (ext == L".jpg" || ext == L".jpeg" || ext == L".jpe") return ImageFormat::Jpeg;
    if (ext == L".png") return ImageFormat::Png;
    return ImageFormat::Bmp;
}

} // namespace picture
