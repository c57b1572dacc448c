// A message-only window: invisible, never enumerated, it exists to receive
// messages posted to it (from a hook, a timer or another part of the program).
#pragma once

#include "ui/Window.h"

#include <functional>

namespace ui {

class MessageWindow : public Window {
public:
    MessageWindow();

    // Every message but the window's own housekeeping; runs on the GUI thread.
    std::function<void(UINT message, WPARAM wParam, LPARAM lParam)> OnMessage;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

} // namespace ui
