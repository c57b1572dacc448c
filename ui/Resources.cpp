#include "ui/Resources.h"

#include "ui/Error.h"

namespace ui {

UniqueFont CreateFontOf(const std::wstring& face, int pixelHeight, BYTE charset, int weight) {
    // A negative height asks for the character height, not the cell height,
    // which is what a size in pixels means to the user.
    return UniqueFont(CreateFontW(-pixelHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, charset, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str()));
}

SIZE TextExtent(HFONT font, const std::wstring& text) {
    SIZE size{0, 0};
    UniqueDC dc(CreateCompatibleDC(nullptr));
    ScopedSelect select(dc.Get(), font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

Bitmap LoadBitmapResource(const wchar_t* name) {
    UniqueBitmap loaded(
        static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!loaded) throw Error(L"Missing picture resource");
    BITMAP info{};
    GetObjectW(loaded.Get(), sizeof info, &info);
    Bitmap picture(info.bmWidth, info.bmHeight, 24);
    UniqueDC source(CreateCompatibleDC(nullptr));
    ScopedSelect select(source.Get(), loaded.Get());
    BitBlt(picture.Canvas(), 0, 0, info.bmWidth, info.bmHeight, source.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    return picture;
}

std::wstring ExecutableFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

} // namespace ui
