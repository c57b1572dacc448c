// The highlight frame laid around what an Object or Fixed Region capture will
// take: a borderless, always-on-top window whose visible shape is a 3-pixel ring.
#pragma once

#include "capture/FrameGeometry.h"
#include "ui/HostWindow.h"

class TFrmSelectRect : public ui::HostWindow {
public:
    TFrmSelectRect();

    // Moves the frame, sets its ring and shows it, without taking the focus.
    void Place(const capture::HighlightFrame& frame);

protected:
    // The frame is never what the mouse points at: hit-testing passes through
    // it to the window beneath, the one it is to frame.
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
};

extern TFrmSelectRect* FrmSelectRect;
