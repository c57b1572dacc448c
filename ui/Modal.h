// What makes a window modal: while a ModalScope lives, every other visible,
// enabled top-level window of the thread is disabled, so that the user works
// in the modal window alone. The windows it disabled are enabled again when
// it ends; the modal window hides itself after that, so that the system hands
// the activation back to one of the program's windows rather than to another
// program.
#pragma once

#include <windows.h>

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

} // namespace ui
