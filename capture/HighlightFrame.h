// The highlight frame laid around what an Object or Fixed Region capture will
// take: a borderless, always-on-top window whose visible shape is a 3-pixel ring.
#pragma once

#include "capture/FrameGeometry.h"
#include "ui/HostWindow.h"

namespace capture {

// The registered window class name; other programs may look the window up by it.
inline constexpr wchar_t kHighlightFrameClass[] = L"TFrmSelectRect";

class HighlightFrame : public ui::HostWindow {
public:
    HighlightFrame();

    // Moves the frame, sets its ring and shows it, without taking the focus.
    // Placing it where it stands already changes nothing.
    void Place(const FramePlacement& frame);
    // The width of the ring at the DPI of the monitor the frame is on.
    int LineWidth() const;

protected:
    // The frame is never what the mouse points at: hit-testing passes through
    // it to the window beneath, the one it is to frame.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    FramePlacement placed_{};
};

} // namespace capture
