// HostWindow's layout at the DPI of its monitor: the child windows and the
// windowless controls, drawn up at one DPI, scaled to another.
#include "ui/HostWindow.h"

#include "ui/Monitors.h"
#include "ui/Resources.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace ui {

namespace {

std::vector<HWND> DirectChildren(HWND parent) {
    std::vector<HWND> children;
    // EnumChildWindows goes down every level, also into the windows that a
    // control makes for itself (the edit box of a combo box), which their
    // control places; only the host's own children are laid out here.
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::erase_if(children, [parent](HWND child) { return GetParent(child) != parent; });
    return children;
}

bool IsClass(HWND window, const wchar_t* name) {
    wchar_t className[16]{};
    GetClassNameW(window, className, 16);
    return lstrcmpiW(className, name) == 0;
}

// A label of one line of text, which wraps (and so loses its last words
// below its bottom edge) where it is narrower than its text.
bool IsTextLabel(HWND window) {
    if (!IsClass(window, L"Static")) return false;
    const auto type = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)) & SS_TYPEMASK;
    return type <= SS_RIGHT || type == SS_LEFTNOWORDWRAP;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

void ScaleChildWindow(HWND host, HWND child, int fromDpi, int toDpi) {
    RECT r{};
    GetWindowRect(child, &r);
    const bool combo = IsClass(child, L"ComboBox");
    // A combo box's window reaches down over its list when that drops; its
    // rectangle as shown is the field alone.
    if (combo) SendMessageW(child, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
    MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
    const int fieldHeight = combo ? static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, WPARAM(-1), 0)) : 0;
    if (auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)))
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(RescaledFont(font, fromDpi, toDpi)), FALSE);
    if (combo) SendMessageW(child, CB_SETITEMHEIGHT, WPARAM(-1), Rescale(fieldHeight, fromDpi, toDpi));
    const int left = Rescale(r.left, fromDpi, toDpi), top = Rescale(r.top, fromDpi, toDpi);
    int width = Rescale(r.right, fromDpi, toDpi) - left, height = Rescale(r.bottom, fromDpi, toDpi) - top;
    // Text does not grow exactly in step with the DPI (glyphs are fitted to
    // whole pixels), so a label sized to its text at one DPI can be a few
    // pixels short at another: it grows to hold it.
    if (IsTextLabel(child)) {
        const SIZE text = TextExtent(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), WindowText(child));
        width = std::max<int>(width, text.cx);
        height = std::max<int>(height, text.cy);
    }
    MoveWindow(child, left, top, width, height, TRUE);
}

} // namespace

void HostWindow::ScaleLayoutTo(int dpi) {
    if (dpi <= 0 || dpi == dpi_) return;
    const int from = std::exchange(dpi_, dpi);
    for (HWND child : DirectChildren(Handle()))
        ScaleChildWindow(Handle(), child, from, dpi);
    for (Control* control : controls_) {
        const RECT b = control->Bounds();
        const int left = Rescale(b.left, from, dpi), top = Rescale(b.top, from, dpi);
        control->SetBounds(left, top, Rescale(b.right, from, dpi) - left, Rescale(b.bottom, from, dpi) - top);
        control->ScaleContent(from, dpi);
    }
    LayoutScaled();
    Invalidate();
}

void HostWindow::FollowMonitorDpi() {
    const int from = dpi_, dpi = WindowDpi(Handle());
    if (dpi == from) return;
    const RECT client = ClientRect();
    const RECT window = WindowRect();
    ScaleLayoutTo(dpi);
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
    RECT frame{0, 0, Rescale(client.right, from, dpi), Rescale(client.bottom, from, dpi)};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    if (style & WS_CHILD) {
        SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        return;
    }
    // The position was drawn up from the corner of a monitor at the old DPI.
    const Monitor monitor = MonitorOf(window);
    const POINT corner{monitor.bounds.left, monitor.bounds.top};
    const int left = corner.x + Rescale(window.left - corner.x, from, dpi);
    const int top = corner.y + Rescale(window.top - corner.y, from, dpi);
    // On a screen too small for the scaled window, it is placed and sized
    // within the work area rather than scaled off it.
    const RECT placed = FitInto({left, top, left + width, top + height}, monitor.workArea);
    SetWindowPos(Handle(), nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace ui
