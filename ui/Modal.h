// What makes a window modal: while a ModalScope lives, every other visible,
// enabled top-level window of the thread is disabled, so that the user works
// in the modal window alone. The windows it disabled are enabled again when
// it ends; the modal window hides itself after that, so that the system hands
// the activation back to one of the program's windows rather than to another
// program.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace ui {

class ModalScope {
public:
    explicit ModalScope(HWND modal);
    ~ModalScope() { End(); }
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    // Enables the windows again; later calls do nothing.
    void End();

private:
    std::vector<HWND> disabled_;
};

// Shows a dialog-like window modally and waits: the program's other windows
// are disabled, the window takes the dialog keys (Tab, Esc) and comes to the
// front, then afterShown runs; the application's loop runs, timers and all,
// until closed() holds or the window is hidden. The window is hidden again
// and the window that was active before gets the activation back.
void RunModalWindow(HWND window, const std::function<bool()>& closed, const std::function<void()>& afterShown);

} // namespace ui
