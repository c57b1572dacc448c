#include "ui/CaptionCloseButton.h"

#include <algorithm>
#include <cwchar>

namespace ui {

namespace {

// Whether the system's caption glyphs come out as they should: asked once,
// since fonts are not added to a running session's mapping under it.
bool SystemDrawsTheGlyph() {
    static const bool drawn = [] {
        LOGFONTW font{};
        font.lfHeight = -12;
        font.lfCharSet = SYMBOL_CHARSET;
        wcscpy(font.lfFaceName, L"Marlett");
        const HFONT created = CreateFontIndirectW(&font);
        const HDC dc = CreateCompatibleDC(nullptr);
        const HGDIOBJ old = SelectObject(dc, created);
        wchar_t face[LF_FACESIZE]{};
        GetTextFaceW(dc, LF_FACESIZE, face);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(created);
        return _wcsicmp(face, L"Marlett") == 0;
    }();
    return drawn;
}

// The button in window coordinates, where the system places it for a window
// with a dialog frame: inside the frame, two pixels in from the top right.
RECT ButtonRect(HWND window) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    RECT button{};
    button.right = bounds.right - bounds.left - GetSystemMetrics(SM_CXDLGFRAME) - 2;
    button.left = button.right - GetSystemMetrics(SM_CXSIZE);
    button.top = GetSystemMetrics(SM_CYDLGFRAME) + 2;
    button.bottom = button.top + GetSystemMetrics(SM_CYSIZE) - 2;
    return button;
}

} // namespace

void CaptionCloseButton::Draw(HWND window, bool pressed) const {
    const HDC dc = GetWindowDC(window);
    if (!dc) return;
    RECT face = ButtonRect(window);
    DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE | BF_ADJUST);
    // The cross: two diagonal strokes, each row of a stroke `thickness`
    // pixels wide, so that the glyph is the same mirrored either way. At the
    // usual button size it is the familiar 8 x 7 with two-pixel strokes.
    const int faceHeight = face.bottom - face.top;
    const int rows = std::max(5, faceHeight * 7 / 10);
    const int thickness = std::max(2, (rows + 2) / 4);
    const int width = rows + thickness - 1;
    const int left = face.left + (face.right - face.left - width) / 2 + (pressed ? 1 : 0);
    const int top = face.top + (faceHeight - rows) / 2 + (pressed ? 1 : 0);
    const HBRUSH ink = GetSysColorBrush(COLOR_BTNTEXT);
    for (int row = 0; row < rows; ++row) {
        const RECT falling{left + row, top + row, left + row + thickness, top + row + 1};
        const RECT rising{left + width - thickness - row, top + row, left + width - row, top + row + 1};
        FillRect(dc, &falling, ink);
        FillRect(dc, &rising, ink);
    }
    ReleaseDC(window, dc);
}

bool CaptionCloseButton::PointerOnButton(HWND window) const {
    POINT at{};
    GetCursorPos(&at);
    return DefWindowProcW(window, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y)) == HTCLOSE;
}

bool CaptionCloseButton::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (SystemDrawsTheGlyph()) return false;
    switch (message) {
    case WM_NCPAINT:
    case WM_NCACTIVATE:
    case WM_SETTEXT:
        // The system paints the caption with its "r", then the cross goes
        // over it.
        result = DefWindowProcW(window, message, wParam, lParam);
        if (IsWindowVisible(window)) Draw(window, pressed_);
        return true;
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
        // The system's own press of the button would draw it with the "r"
        // again while held: the window tracks the press itself.
        if (wParam != HTCLOSE) return false;
        tracking_ = pressed_ = true;
        SetCapture(window);
        Draw(window, true);
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        if (!tracking_) return false;
        if (PointerOnButton(window) != pressed_) {
            pressed_ = !pressed_;
            Draw(window, pressed_);
        }
        result = 0;
        return true;
    case WM_LBUTTONUP: {
        if (!tracking_) return false;
        const bool close = PointerOnButton(window);
        ReleaseCapture(); // WM_CAPTURECHANGED ends the tracking
        if (close) PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
        result = 0;
        return true;
    }
    case WM_CAPTURECHANGED:
        if (!tracking_) return false;
        tracking_ = false;
        if (pressed_) {
            pressed_ = false;
            Draw(window, false);
        }
        result = 0;
        return true;
    default:
        return false;
    }
}

} // namespace ui
