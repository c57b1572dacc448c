// Tooltips for the windowless controls of a host window: one tooltip control
// of the platform, with one tool per control covering the control's bounds.
// The tooltip watches the host's mouse messages itself (it subclasses the
// host), and it shows its tips whether or not the host is active, since some
// hosts never are.
#pragma once

#include "ui/Control.h"
#include "ui/Handles.h"

#include <commctrl.h>

#include <string>

namespace ui {

class HostWindow;

class ToolTip {
public:
    // Creates the tooltip control for host; throws ui::Error on failure.
    explicit ToolTip(const HostWindow& host);

    // Shows text while the mouse rests on control. The tool covers the
    // control's bounds at the time it is added. An empty text shows nothing.
    void Add(const Control& control, const std::wstring& text);

    HWND Handle() const { return window_.Get(); }

private:
    HWND host_;
    UniqueWindow window_;
    UINT_PTR nextId_ = 0;
};

} // namespace ui
