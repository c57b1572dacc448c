#include "ui/Application.h"

#include "ui/Error.h"

#include <algorithm>
#include <new>

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
    HWND owner = GetActiveWindow();
    MessageBoxW(owner, ErrorBoxText(message).c_str(), title_.c_str(), MB_OK | MB_ICONERROR);
}

int Application::ShowMessage(const std::wstring& text, UINT type) { return ShowMessage(text, title_, type); }

int Application::ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type) {
    if (MessageHandler) return MessageHandler(text, type);
    if (!(type & MB_TASKMODAL)) return MessageBoxW(GetActiveWindow(), text.c_str(), caption.c_str(), type);
    // A task-modal box has no owner: the system disables every window of the
    // thread itself. With no owner to return to, it would leave the
    // activation to whichever window comes next, so it is handed back.
    const HWND active = GetActiveWindow();
    const int result = MessageBoxW(nullptr, text.c_str(), caption.c_str(), type);
    if (active && IsWindow(active) && IsWindowVisible(active) && IsWindowEnabled(active)) SetActiveWindow(active);
    return result;
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
