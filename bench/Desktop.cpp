#include "bench/Desktop.h"

#include "bench/Measure.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cwchar>

namespace bench {

ui::Bitmap DesktopContent(int width, int height) {
    ui::Bitmap picture(width, height, 32);
    HDC dc = picture.Canvas();
    auto fill = [&](int l, int t, int r, int b, COLORREF c) {
        HBRUSH brush = CreateSolidBrush(c);
        RECT rc{l, t, r, b};
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    };
    fill(0, 0, width, height, RGB(58, 110, 165));
    fill(0, height - 40, width, height, RGB(32, 32, 40)); // taskbar

    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                             L"Liberation Sans");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* words[] = {L"void GrabScreen(ui::Bitmap& bitmap) {", L"The quick brown fox jumps over",
                              L"Cannot create file \"C:\\shots\\2008-03-05 14_07_09.jpg\".",
                              L"0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz",
                              L"    return std::make_unique<JpegError>(); // why, not what"};
    // Two text windows side by side: an editor and a document.
    const int windowWidth = width * 45 / 100;
    for (int w = 0; w < 2; ++w) {
        const int l = 20 + w * (windowWidth + 20), t = 20, r = l + windowWidth, b = height - 60;
        fill(l, t, r, t + 30, w ? RGB(240, 240, 240) : RGB(0, 120, 215));
        fill(l, t + 30, r, b, RGB(255, 255, 255));
        SetTextColor(dc, w ? RGB(0, 0, 0) : RGB(255, 255, 255));
        TextOutW(dc, l + 8, t + 7, L"Snapora - benchmark window", 26);
        int line = 0;
        // The lower half of the second window is left for the photo.
        const int textBottom = w ? t + (b - t) / 2 : b;
        for (int y = t + 40; y + 16 < textBottom; y += 17, ++line) {
            SetTextColor(dc, line % 7 == 3 ? RGB(160, 30, 30) : RGB(20, 20, 20));
            const wchar_t* text = words[line % 5];
            TextOutW(dc, l + 10 + (line % 4) * 12, y, text, static_cast<int>(wcslen(text)));
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    GdiFlush();

    // The photo: smooth shading with grain, in the second window's lower half.
    const int pl = 40 + windowWidth + 10, pt = 20 + (height - 80) / 2 + 10;
    const int pr = std::min(width - 10, pl + windowWidth - 20), pb = height - 70;
    std::uint32_t seed = 1;
    for (int y = pt; y < pb; ++y)
        for (int x = pl; x < pr; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>((seed >> 24) % 13) - 6;
            auto channel = [&](double phase) {
                const double v = 128 + 90 * std::sin(x * 0.011 + phase) * std::cos(y * 0.017 - phase);
                return static_cast<std::uint32_t>(std::clamp(static_cast<int>(v) + grain, 0, 255));
            };
            picture.SetPixel(x, y, (channel(0.0) << 16) | (channel(1.3) << 8) | channel(2.6));
        }
    return picture;
}

namespace {

constexpr wchar_t kDesktopClass[] = L"SnaporaBenchDesktop";
constexpr wchar_t kTargetClass[] = L"SnaporaBenchTarget";

void RegisterOnce(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

LRESULT CALLBACK TargetProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) {
        RECT client;
        GetClientRect(window, &client);
        HBRUSH brush = CreateSolidBrush(static_cast<COLORREF>(GetWindowLongPtrW(window, GWLP_USERDATA)));
        FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
        DeleteObject(brush);
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

DesktopWindow::DesktopWindow(const ui::Bitmap& picture) : picture_(picture) {
    RegisterOnce(kDesktopClass, Procedure);
    window_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kDesktopClass, L"", WS_POPUP, 0, 0, picture.Width(),
                              picture.Height(), nullptr, nullptr, GetModuleHandleW(nullptr), this);
    ShowWindow(window_, SW_SHOWNOACTIVATE);
    UpdateWindow(window_);
}

DesktopWindow::~DesktopWindow() { DestroyWindow(window_); }

LRESULT CALLBACK DesktopWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<DesktopWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT && self) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        self->picture_.Draw(dc, 0, 0);
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

bool DesktopWindow::WaitUntilShown() const {
    HDC screen = GetDC(nullptr);
    const POINT probes[] = {{picture_.Width() / 4, picture_.Height() / 3},
                            {picture_.Width() * 3 / 4, picture_.Height() * 2 / 3},
                            {picture_.Width() / 2, picture_.Height() - 20}};
    const bool shown = PumpUntil([&] {
        for (const POINT& p : probes) {
            const std::uint32_t want = picture_.Pixel(p.x, p.y);
            const COLORREF is = GetPixel(screen, p.x, p.y);
            if (RGB((want >> 16) & 0xFF, (want >> 8) & 0xFF, want & 0xFF) != is) return false;
        }
        return true;
    });
    ReleaseDC(nullptr, screen);
    return shown;
}

void DesktopWindow::SetTopmost(bool topmost) const {
    SetWindowPos(window_, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (!topmost) SetWindowPos(window_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

HWND CreateTargetWindow(const RECT& bounds, COLORREF colour) {
    RegisterOnce(kTargetClass, TargetProcedure);
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kTargetClass, L"", WS_POPUP, bounds.left, bounds.top,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    return window;
}

} // namespace bench
