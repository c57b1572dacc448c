// The application object: title, the message loop and
// modal loops, the application-wide message filter and error reporting.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class Application {
public:
    // The one instance of the program.
    static Application& Instance();

    HINSTANCE Module() const { return module_; }

    const std::wstring& Title() const { return title_; }
    void SetTitle(std::wstring title) { title_ = std::move(title); }

    // A hidden window that owns the forms which are to have no taskbar
    // button: the taskbar lists only unowned top-level windows. Created on
    // first use, destroyed with the application.
    HWND HiddenOwner();

    // Sees every message the loops take from the queue before it is
    // dispatched; returning true swallows the message.
    std::function<bool(MSG&)> MessageFilter;

    // Runs the message loop until WM_QUIT; returns its exit code.
    int Run();

    // Pumps messages until done() is true or WM_QUIT arrives (which is posted
    // again for the outer loop). Timers keep ticking and the filter sees
    // everything, as in the main loop.
    void RunModalLoop(const std::function<bool()>& done);

    // Handles the messages that are waiting, then returns.
    void ProcessMessages();

    // Shows the standard error box: error icon, OK, captioned with the
    // application title, text per ErrorBoxText.
    void ShowError(const std::wstring& message);

    // Replaces the error box (tests record errors instead of blocking on a box).
    std::function<void(const std::wstring&)> ErrorHandler;

    // A modal message box captioned with the application title (notices,
    // confirmations); gives the button pressed (IDOK, IDYES, ...).
    int ShowMessage(const std::wstring& text, UINT type = MB_OK);
    // The same with a caption of its own. With MB_TASKMODAL the box belongs
    // to the program as a whole: every window of the thread is disabled while
    // it is open, and the window that was active is active again afterwards.
    int ShowMessage(const std::wstring& text, const std::wstring& caption, UINT type);
    // Replaces the message box (tests record the text and answer for the user).
    std::function<int(const std::wstring& text, UINT type)> MessageHandler;

    // Brings the message box that waits for an answer to the front, when
    // one does: a click on a window that the box has disabled asks for it.
    void BringModalBoxForward();

    // Windows whose native controls take the keyboard as in a dialog: Tab
    // and Shift+Tab move the focus from control to control, the arrow keys
    // within a group, and Esc sends the window WM_COMMAND with IDCANCEL.
    void AddDialogWindow(HWND window);
    void RemoveDialogWindow(HWND window);

    // Runs fn; an exception it throws is shown in the error box and goes no
    // further. Used at every dispatch boundary: window procedures, hook and
    // timer callbacks.
    template <typename Fn> void Guard(Fn&& fn) noexcept {
        try {
            fn();
        } catch (...) {
            ReportCurrentException();
        }
    }

    void ReportCurrentException() noexcept;

private:
    Application();
    bool DispatchOne(MSG& msg);
    int ShowOwnedBox(const std::wstring& text, const std::wstring& caption, UINT type);
    bool HandleDialogKeys(MSG& msg);

    HINSTANCE module_;
    std::wstring title_;
    HWND hiddenOwner_ = nullptr;
    std::vector<HWND> dialogWindows_;
};

inline Application& App() { return Application::Instance(); }

} // namespace ui
