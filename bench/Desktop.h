// The benchmark's desktop: a picture that looks like a working screen (text
// windows, flat areas, a photo), and a window that shows it over the whole
// display, so that grabs, scrot and the encoders see realistic pixels.
#pragma once

#include "ui/Bitmap.h"

#include <windows.h>

namespace bench {

// A 32-bit picture of a desktop of that size.
ui::Bitmap DesktopContent(int width, int height);

// A borderless window covering the display that shows a picture.
class DesktopWindow {
public:
    explicit DesktopWindow(const ui::Bitmap& picture);
    ~DesktopWindow();
    DesktopWindow(const DesktopWindow&) = delete;
    DesktopWindow& operator=(const DesktopWindow&) = delete;

    HWND Handle() const { return window_; }
    // Waits until the screen shows the picture; false after a timeout.
    bool WaitUntilShown() const;
    // Always on top (the grabs) or an ordinary window under the program's own.
    void SetTopmost(bool topmost) const;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    const ui::Bitmap& picture_;
    HWND window_ = nullptr;
};

// A plain coloured window, something for the highlight frame to stand around.
HWND CreateTargetWindow(const RECT& bounds, COLORREF colour);

} // namespace bench
