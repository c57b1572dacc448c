#include "ui/Window.h"

#include "ui/Monitors.h"

#include "ui/Application.h"
#include "ui/Error.h"

#include <map>
#include <utility>

namespace ui {

ATOM RegisterWindowClass(const WindowClassArgs& args) {
    static std::map<std::wstring, ATOM> registered;
    if (const auto found = registered.find(args.name); found != registered.end()) return found->second;

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = args.style;
    // Every class of ours shares the one thunk, which finds the object.
    wc.lpfnWndProc = &Window::Thunk;
    wc.hInstance = App().Module();
    wc.hCursor = args.cursor;
    wc.hbrBackground = args.background;
    wc.hIcon = args.icon;
    wc.hIconSm = args.smallIcon;
    wc.lpszClassName = args.name;
    const ATOM atom = RegisterClassExW(&wc);
    if (atom == 0) throw Error(L"Cannot register window class: " + SystemErrorText(GetLastError()));
    registered.emplace(args.name, atom);
    return atom;
}

Window::~Window() {
    if (hwnd_) {
        // The object is going away: detach it first so that the messages sent
        // during destruction do not reach a half-destroyed object.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(std::exchange(hwnd_, nullptr));
    }
}

RECT Window::ClientRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return r;
}

RECT Window::WindowRect() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return r;
}

void Window::SetBounds(int x, int y, int width, int height) {
    SetWindowPos(hwnd_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void Window::CreateHandle(const WindowClassArgs& classArgs, const WindowCreateArgs& a) {
    const ATOM atom = RegisterWindowClass(classArgs);
    HWND hwnd = CreateWindowExW(a.exStyle, MAKEINTATOM(atom), a.caption.c_str(), a.style, a.x, a.y, a.width, a.height,
                                a.parent, reinterpret_cast<HMENU>(a.id), App().Module(), this);
    if (!hwnd) throw Error(L"Cannot create window: " + SystemErrorText(GetLastError()));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // A monitor was removed or rearranged: a top-level window left on no
    // monitor would be out of reach, so it comes back to the nearest one.
    if (message == WM_DISPLAYCHANGE && !(GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_CHILD)) BringOntoMonitors(hwnd_);
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK Window::Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);

    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        App().Guard([&] { self->HandleDestroyed(); });
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }

    // A click on a window that a modal box has disabled arrives as a
    // WM_SETCURSOR for an error hit: the box comes forward, so that one
    // hidden behind another program's window does not block without a sign.
    if (message == WM_SETCURSOR && static_cast<short>(LOWORD(lParam)) == HTERROR &&
        (HIWORD(lParam) == WM_LBUTTONDOWN || HIWORD(lParam) == WM_RBUTTONDOWN || HIWORD(lParam) == WM_MBUTTONDOWN))
        App().BringModalBoxForward();

    // Shown by ShowWindow or SetWindowPos alike: the monitors may have
    // changed while the window was hidden and nothing watched them.
    if (message == WM_WINDOWPOSCHANGED && (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) &&
        !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        App().Guard([&] { MonitorWatch::OnWindowShown(hwnd); });

    LRESULT result = 0;
    bool done = false;
    App().Guard([&] {
        result = self->HandleMessage(message, wParam, lParam);
        done = true;
    });
    // After an exception the message still gets its default treatment, so
    // that, e.g., WM_NCCREATE or WM_PAINT keep their contracts.
    return done ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace ui
