#include "ui/HostWindow.h"

#include "ui/Cursor.h"
#include "ui/Handles.h"
#include "ui/NativeControls.h"

#include <windowsx.h>

#include <algorithm>

namespace ui {

void HostWindow::CreateHost(const wchar_t* className, const WindowCreateArgs& args) {
    CreateHandle({.name = className}, args);
}

void HostWindow::AddControl(Control& control) {
    if (control.parent_ == this) return;
    if (control.parent_) control.parent_->RemoveControl(control);
    control.parent_ = this;
    controls_.push_back(&control);
    control.Invalidate();
}

void HostWindow::RemoveControl(Control& control) {
    if (control.parent_ != this) return;
    control.Invalidate();
    std::erase(controls_, &control);
    if (hot_ == &control) hot_ = nullptr;
    if (pressed_ == &control) {
        pressed_ = nullptr;
        if (GetCapture() == Handle()) ReleaseCapture();
    }
    control.parent_ = nullptr;
}

void HostWindow::BringControlToFront(Control& control) {
    auto found = std::find(controls_.begin(), controls_.end(), &control);
    if (found == controls_.end()) return;
    controls_.erase(found);
    controls_.push_back(&control);
    control.Invalidate();
}

Control* HostWindow::ControlAt(POINT client) const {
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        Control* c = *it;
        if (!c->Visible() || !c->Enabled()) continue;
        const POINT local{client.x - c->Left(), client.y - c->Top()};
        if (c->HitTest(local)) return c;
    }
    return nullptr;
}

void HostWindow::Invalidate(const RECT* area) const {
    if (Handle()) InvalidateRect(Handle(), area, FALSE);
}

void HostWindow::PaintBackground(HDC dc, const RECT& client) {
    UniqueBrush brush(CreateSolidBrush(Color));
    FillRect(dc, &client, brush.Get());
}

void HostWindow::PaintAll(HDC target, const RECT& area) {
    const int w = std::max<int>(1, area.right - area.left), h = std::max<int>(1, area.bottom - area.top);
    // Everything is drawn into a back buffer first and copied at once, so the
    // window never shows a half-painted state. The buffer covers only the
    // area being painted; drawing keeps client coordinates through the
    // viewport origin.
    UniqueDC memory(CreateCompatibleDC(target));
    UniqueBitmap buffer(CreateCompatibleBitmap(target, w, h));
    ScopedSelect select(memory.Get(), buffer.Get());
    HDC dc = memory.Get();
    SetViewportOrgEx(dc, -area.left, -area.top, nullptr);
    const RECT client = ClientRect();
    PaintBackground(dc, client);
    for (Control* c : controls_) {
        if (!c->Visible()) continue;
        const RECT bounds = c->Bounds();
        RECT overlap;
        if (!IntersectRect(&overlap, &bounds, &area)) continue;
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        SetViewportOrgEx(dc, bounds.left - area.left, bounds.top - area.top, nullptr);
        c->Paint(dc);
        RestoreDC(dc, saved);
    }
    PaintOverlay(dc, client);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    BitBlt(target, area.left, area.top, w, h, dc, 0, 0, SRCCOPY);
}

void HostWindow::SetHot(Control* control) {
    if (hot_ == control) return;
    Control* old = hot_;
    hot_ = control;
    if (old) old->MouseLeave();
    if (hot_) hot_->MouseEnter();
}

bool HostWindow::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    ShiftState shift = ShiftState::FromMouseKeys(wParam);
    shift.doubleClick = message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
    auto local = [&](Control* c) { return POINT{at.x - c->Left(), at.y - c->Top()}; };

    MouseButton button = MouseButton::Left;
    bool down = false, up = false;
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        down = true;
        button = MouseButton::Left;
        break;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
        down = true;
        button = MouseButton::Right;
        break;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
        down = true;
        button = MouseButton::Middle;
        break;
    case WM_LBUTTONUP:
        up = true;
        button = MouseButton::Left;
        break;
    case WM_RBUTTONUP:
        up = true;
        button = MouseButton::Right;
        break;
    case WM_MBUTTONUP:
        up = true;
        button = MouseButton::Middle;
        break;
    case WM_MOUSEMOVE:
        break;
    default:
        return false;
    }

    if (message == WM_MOUSEMOVE) {
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
            trackingLeave_ = TrackMouseEvent(&track) != FALSE;
        }
        if (pressed_) {
            // The pressed control keeps the mouse; it is "hot" only while the
            // mouse is over it, which is how a button shows press-and-drag-off.
            SetHot(ControlAt(at) == pressed_ ? pressed_ : nullptr);
            pressed_->MouseMove(shift, local(pressed_));
            return true;
        }
        Control* over = ControlAt(at);
        SetHot(over);
        if (over) over->MouseMove(shift, local(over));
        return over != nullptr;
    }

    if (down) {
        // A release can go missing (under Wine, when the button is let go
        // over another program's window): a press while no other button is
        // held starts afresh, rather than going to the control of the press
        // whose release was lost.
        const bool othersHeld = (button != MouseButton::Left && shift.left) ||
                                (button != MouseButton::Right && shift.right) ||
                                (button != MouseButton::Middle && shift.middle);
        if (pressed_ && !othersHeld) {
            pressed_ = nullptr;
            ReleaseCapture();
        }
        Control* target = pressed_ ? pressed_ : ControlAt(at);
        if (!target) return false;
        if (!pressed_) {
            pressed_ = target;
            SetCapture(Handle());
            SetHot(target);
        }
        target->MouseDown(button, shift, local(target));
        return true;
    }

    if (up) {
        Control* target = pressed_ ? pressed_ : ControlAt(at);
        if (!target) return false;
        // The capture ends with the last button released.
        const bool anyHeld = shift.left || shift.right || shift.middle;
        if (pressed_ && !anyHeld) {
            pressed_ = nullptr;
            ReleaseCapture();
        }
        target->MouseUp(button, shift, local(target));
        return true;
    }
    return false;
}

LRESULT HostWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted with everything else in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        if (!IsRectEmpty(&ps.rcPaint)) PaintAll(dc, ps.rcPaint);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        PaintAll(reinterpret_cast<HDC>(wParam), ClientRect());
        return 0;
    case WM_DPICHANGED_AFTERPARENT:
        // A child window: its parent has taken the new DPI and moved it.
        ScaleLayoutTo(WindowDpi(Handle()));
        return 0;
    case WM_DPICHANGED: {
        // The window moved to a monitor of another DPI (or the monitor's
        // changed): the layout follows it, and the window takes the
        // rectangle that the system suggests, which keeps it under the mouse
        // while it is being dragged across.
        ScaleLayoutTo(LOWORD(wParam));
        const RECT suggested = *reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(Handle(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_COMMAND:
        // Native controls notify their parent; the wrapper raises its event.
        if (auto* control = NativeControl::FromHandle(reinterpret_cast<HWND>(lParam))) {
            control->Command(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Radio buttons, check boxes and group boxes ask their parent for the
        // brush behind their text; they sit on our painted surface.
        if (auto* control = NativeControl::FromHandle(reinterpret_cast<HWND>(lParam)))
            if (HBRUSH brush = control->ColorBrush(reinterpret_cast<HDC>(wParam)))
                return reinterpret_cast<LRESULT>(brush);
        break;
    case WM_MOUSELEAVE:
        trackingLeave_ = false;
        if (!pressed_) SetHot(nullptr);
        return 0;
    case WM_CAPTURECHANGED:
        if (pressed_ && reinterpret_cast<HWND>(lParam) != Handle()) {
            pressed_ = nullptr;
            SetHot(nullptr);
        }
        break;
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT) {
            POINT at = CursorPosition();
            ScreenToClient(Handle(), &at);
            Control* c = pressed_ ? pressed_ : ControlAt(at);
            if (c && c->Cursor) {
                SetCursor(c->Cursor);
                return TRUE;
            }
        }
        break;
    default:
        if (RouteMouse(message, wParam, lParam)) return 0;
        break;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace ui
