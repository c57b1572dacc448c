// A window that paints itself double-buffered and hosts windowless controls:
// it hit-tests them in z-order, keeps the mouse with the control that took a
// press until the release, tracks enter and leave, and paints them.
#pragma once

#include "ui/Control.h"
#include "ui/Scale.h"
#include "ui/Window.h"

#include <vector>

namespace ui {

class HostWindow : public Window {
public:
    // Background colour painted under everything (a COLORREF).
    COLORREF Color = GetSysColor(COLOR_BTNFACE);

    // Adds a control on top of the others. The control is not owned; it
    // removes itself when destroyed.
    void AddControl(Control& control);
    void RemoveControl(Control& control);
    void BringControlToFront(Control& control);
    const std::vector<Control*>& Controls() const { return controls_; }

    // The topmost visible, enabled control at a client point, or null.
    Control* ControlAt(POINT client) const;

    void Invalidate(const RECT* area = nullptr) const;

    // The DPI that the window's layout is drawn up for now: the design DPI
    // until the window follows its monitor's.
    int Dpi() const { return dpi_; }
    Scale DpiScale() const { return Scale(dpi_); }

    // Lays the window out for the DPI of the monitor it is on: its controls
    // and their fonts, its client size and, for a top-level window, its
    // position from the monitor's corner are scaled from the DPI they were
    // at, and the window is kept inside the monitor's work area. Nothing
    // changes when the DPI is the one the window is at already.
    void FollowMonitorDpi();

protected:
    // Creates the window as a top-level form (parent null) or a child panel.
    void CreateHost(const wchar_t* className, const WindowCreateArgs& args);

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    // Scales the child windows (their rectangles and fonts) and the
    // windowless controls (their bounds and what they draw) from the DPI the
    // window is at to dpi, then calls LayoutScaled. The window's own size is
    // the caller's to set.
    void ScaleLayoutTo(int dpi);
    // Called once the layout is scaled; a window that lays itself out by
    // its size does it again here.
    virtual void LayoutScaled() {}

    // Paints the window's own content into the back buffer, before the
    // controls are painted over it. The default fills Color.
    virtual void PaintBackground(HDC dc, const RECT& client);
    // Paints on top of the controls.
    virtual void PaintOverlay(HDC dc, const RECT& client) { (void)dc, (void)client; }

private:
    // Paints the client area's part area (client coordinates) onto dc.
    void PaintAll(HDC dc, const RECT& area);
    bool RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHot(Control* control);

    std::vector<Control*> controls_;
    Control* hot_ = nullptr;     // the control under the mouse
    Control* pressed_ = nullptr; // the control that took a press; keeps the mouse until release
    bool trackingLeave_ = false;
    int dpi_ = kDesignDpi;
};

} // namespace ui
