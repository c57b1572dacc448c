#include "ui/Scale.h"

#include <cmath>
#include <cstring>
#include <map>

namespace ui {

namespace {

template <typename Function> Function* User32Function(const char* name) {
    // Looked up at run time: older systems lack the per-monitor functions,
    // and the program must still start there.
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

} // namespace

int Rescale(int length, int fromDpi, int toDpi) {
    if (fromDpi == toDpi || fromDpi <= 0) return length;
    return MulDiv(length, toDpi, fromDpi);
}

int SystemDpi() {
    using GetDpiForSystemFunction = UINT WINAPI();
    static auto* const getDpiForSystem = User32Function<GetDpiForSystemFunction>("GetDpiForSystem");
    if (getDpiForSystem) return static_cast<int>(getDpiForSystem());
    WindowDC screen(nullptr);
    return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

int WindowDpi(HWND window) {
    using GetDpiForWindowFunction = UINT WINAPI(HWND);
    static auto* const getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
    }
    return SystemDpi();
}

int PointsToPixels(double points, int dpi) { return static_cast<int>(std::lround(points * dpi / 72.0)); }

bool FontFaceInstalled(const std::wstring& face) {
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::memcpy(wanted.lfFaceName, face.c_str(), (face.size() + 1) * sizeof(wchar_t));
    bool found = false;
    WindowDC screen(nullptr);
    EnumFontFamiliesExW(screen.Get(), &wanted, &NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

std::wstring MessageFontFace() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0) ||
        metrics.lfMessageFont.lfFaceName[0] == L'\0')
        return L"Tahoma";
    return metrics.lfMessageFont.lfFaceName;
}

std::wstring InstalledFaceOrMessageFont(const std::wstring& face) {
    return FontFaceInstalled(face) ? face : MessageFontFace();
}

HFONT RescaledFont(HFONT font, int fromDpi, int toDpi) {
    if (!font || fromDpi == toDpi) return font;
    LOGFONTW logFont{};
    if (!GetObjectW(font, sizeof logFont, &logFont)) return font;
    logFont.lfHeight = Rescale(logFont.lfHeight, fromDpi, toDpi);
    logFont.lfWidth = Rescale(logFont.lfWidth, fromDpi, toDpi);
    // One font for each description, made when first asked for.
    static std::map<std::wstring, UniqueFont> made;
    std::wstring key = logFont.lfFaceName;
    for (const LONG field : {logFont.lfHeight, logFont.lfWidth, logFont.lfEscapement, logFont.lfOrientation,
                             logFont.lfWeight, LONG{logFont.lfItalic}, LONG{logFont.lfUnderline},
                             LONG{logFont.lfStrikeOut}, LONG{logFont.lfCharSet}, LONG{logFont.lfOutPrecision},
                             LONG{logFont.lfClipPrecision}, LONG{logFont.lfQuality}, LONG{logFont.lfPitchAndFamily}})
        key += L'|' + std::to_wstring(field);
    auto found = made.find(key);
    if (found == made.end()) found = made.emplace(std::move(key), UniqueFont(CreateFontIndirectW(&logFont))).first;
    return found->second ? found->second.Get() : font;
}

} // namespace ui
