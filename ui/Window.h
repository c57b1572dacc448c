// Base of every window: one window-procedure thunk per class that routes
// messages to the C++ object, and window-class registration done once.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

struct WindowClassArgs {
    const wchar_t* name = nullptr;
    UINT style = CS_DBLCLKS;
    HCURSOR cursor = LoadCursorW(nullptr, IDC_ARROW);
    HBRUSH background = nullptr; // we paint everything ourselves
    HICON icon = nullptr;
    HICON smallIcon = nullptr;
};

struct WindowCreateArgs {
    std::wstring caption;
    DWORD style = WS_OVERLAPPEDWINDOW;
    DWORD exStyle = 0;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    int width = CW_USEDEFAULT;
    int height = CW_USEDEFAULT;
    HWND parent = nullptr;
    UINT_PTR id = 0;
};

// Registers the class the first time it is asked for and returns its atom;
// later calls with the same name return the atom they got.
ATOM RegisterWindowClass(const WindowClassArgs& args);

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const noexcept { return hwnd_; }

    bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }
    void Show() { ShowWindow(hwnd_, SW_SHOW); }
    void Hide() { ShowWindow(hwnd_, SW_HIDE); }
    RECT ClientRect() const;
    RECT WindowRect() const;
    void SetBounds(int x, int y, int width, int height);

protected:
    // Creates the window of a class registered from classArgs; throws ui::Error on failure.
    void CreateHandle(const WindowClassArgs& classArgs, const WindowCreateArgs& createArgs);

    // Handles one message; the default passes it to DefWindowProc. Exceptions
    // are caught by the thunk and shown in the error box.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    // Called on WM_NCDESTROY, after which Handle() is null.
    virtual void HandleDestroyed() {}

public:
    // The window procedure of every class registered by RegisterWindowClass:
    // takes the object from lpCreateParams on WM_NCCREATE, keeps it in
    // GWLP_USERDATA and forgets it on WM_NCDESTROY.
    static LRESULT CALLBACK Thunk(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

private:
    HWND hwnd_ = nullptr;
};

} // namespace ui
