#include "ui/Application.h"

#include "ui/Error.h"

#include <algorithm>
#include <new>
#include <string_view>

namespace ui {

Application& Application::Instance() {
    static Application application;
    return application;
}

Application::Application() : module_(GetModuleHandleW(nullptr)) {}

bool Application::DispatchOne(MSG& msg) {
    bool handled = false;
    if (MessageFilter) Guard([&] { handled = MessageFilter(msg); });
    if (handled) return true;
    if (HandleDialogKeys(msg)) return true;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    return true;
}

int Application::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchOne(msg);
    return static_cast<int>(msg.wParam);
}

void Application::RunModalLoop(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // Leave the quit request for the main loop.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

void Application::ProcessMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchOne(msg);
    }
}

HWND Application::HiddenOwner() {
    if (hiddenOwner_ && IsWindow(hiddenOwner_)) return hiddenOwner_;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = module_;
    wc.lpszClassName = L"SnaporaHiddenOwner";
    // A second registration fails harmlessly; the class is the same.
    RegisterClassExW(&wc);
    hiddenOwner_ =
        CreateWindowExW(0, wc.lpszClassName, title_.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, module_, nullptr);
    return hiddenOwner_;
}

void Application::ShowError(const std::wstring& message) {
    if (ErrorHandler) {
        ErrorHandler(message);
        return;
    }
    ShowOwnedBox(ErrorBoxText(message), title_, MB_OK | MB_ICONERROR);
}

int Application::ShowMessage(const std::wstring& text, UINT type) { return ShowMessage(text, title_, type); }

int Application::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type) {
    if (MessageHandler) return MessageHandler(text, type);
    return ShowOwnedBox(text, caption, type);
}

int Application::ShowOwnedBox(const std::wstring& text, const std::wstring& caption, UINT type) {
    // A box without an owner gets a taskbar button of its own, and the
    // program is to have none: the box is owned by the program's active
    // window, or else by the hidden owner, which the taskbar never lists.
    const HWND active = GetActiveWindow();
    const HWND owner = active ? active : HiddenOwner();
    if (!(type & MB_TASKMODAL)) return MessageBoxW(owner, text.c_str(), caption.c_str(), type);

    // The system disables every window of the thread only for a task-modal
    // box without an owner: with one, that is done here, and undone after.
    std::vector<HWND> disabled;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            if (IsWindowEnabled(window)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    for (HWND window : disabled)
        EnableWindow(window, FALSE);
    const int result = MessageBoxW(owner, text.c_str(), caption.c_str(), type & ~MB_TASKMODAL);
    for (HWND window : disabled)
        if (IsWindow(window)) EnableWindow(window, TRUE);
    // The active window lost the activation to the box: it is handed back.
    if (active && IsWindow(active) && IsWindowVisible(active) && IsWindowEnabled(active)) SetActiveWindow(active);
    return result;
}

void Application::BringModalBoxForward() {
    // The box that waits for an answer is the thread's enabled message box:
    // every other window of the thread is disabled while it is open.
    HWND box = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) -> BOOL {
            wchar_t name[16]{};
            GetClassNameW(window, name, 16);
            if (std::wstring_view(name) != L"#32770" || !IsWindowVisible(window) || !IsWindowEnabled(window))
                return TRUE;
            *reinterpret_cast<HWND*>(found) = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&box));
    if (!box) return;
    SetForegroundWindow(box);
    FLASHWINFO flash{.cbSize = sizeof flash, .hwnd = box, .dwFlags = FLASHW_CAPTION, .uCount = 2};
    FlashWindowEx(&flash);
}

void Application::AddDialogWindow(HWND window) {
    if (std::find(dialogWindows_.begin(), dialogWindows_.end(), window) == dialogWindows_.end())
        dialogWindows_.push_back(window);
}

void Application::RemoveDialogWindow(HWND window) { std::erase(dialogWindows_, window); }

bool Application::HandleDialogKeys(MSG& msg) {
    if (!msg.hwnd || dialogWindows_.empty()) return false;
    for (HWND window : dialogWindows_) {
        if (msg.hwnd != window && !IsChild(window, msg.hwnd)) continue;
        // IsDialogMessage handles the navigation keys and dispatches every
        // other message itself; what it took must not be dispatched again.
        return IsDialogMessageW(window, &msg) != FALSE;
    }
    return false;
}

void Application::ReportCurrentException() noexcept {
    try {
        throw;
    } catch (const Error& error) {
        ShowError(error.Message());
    } catch (const std::bad_alloc&) {
        ShowError(L"Out of memory");
    } catch (const std::exception& error) {
        const std::string text = error.what();
        ShowError(std::wstring(text.begin(), text.end()));
    } catch (...) {
        ShowError(L"Unexpected error");
    }
}

} // namespace ui
