// Windowless controls: plain objects with bounds, visibility, a cursor and
// mouse events, painted and fed with input by the window that hosts them.
#pragma once

#include <windows.h>

#include <functional>

namespace ui {

class HostWindow;

enum class MouseButton { Left, Right, Middle };

// The mouse buttons and the Shift, Ctrl and Alt keys held at an event.
struct ShiftState {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
    bool left = false;
    bool right = false;
    bool middle = false;
    // The press is the second click of a double click.
    bool doubleClick = false;

    // Read from a mouse message's key flags (wParam) and the keyboard.
    static ShiftState FromMouseKeys(WPARAM keys);
    // Read from the current state of the keyboard and mouse buttons.
    static ShiftState Current();
    bool OnlyLeft() const { return left && !right && !middle && !shift && !ctrl && !alt; }
};

// Mouse handlers receive the control, and positions in the control's own
// coordinates (0, 0 at its top-left corner).
using MouseButtonHandler = std::function<void(class Control& sender, MouseButton, ShiftState, POINT)>;
using MouseMoveHandler = std::function<void(class Control& sender, ShiftState, POINT)>;
using NotifyHandler = std::function<void(class Control& sender)>;

class Control {
public:
    Control() = default;
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    // The window that hosts the control; null until it is added to one.
    HostWindow* Parent() const { return parent_; }

    int Left() const { return bounds_.left; }
    int Top() const { return bounds_.top; }
    int Width() const { return bounds_.right - bounds_.left; }
    int Height() const { return bounds_.bottom - bounds_.top; }
    RECT Bounds() const { return bounds_; }
    void SetBounds(int left, int top, int width, int height);
    void SetBounds(const RECT& bounds) {
        SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
    }

    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    bool Enabled() const { return enabled_; }
    virtual void SetEnabled(bool enabled);

    HCURSOR Cursor = nullptr; // null: the host's cursor

    MouseButtonHandler OnMouseDown;
    MouseMoveHandler OnMouseMove;
    MouseButtonHandler OnMouseUp;
    NotifyHandler OnMouseEnter;
    NotifyHandler OnMouseLeave;

    // Repaints the control's area of the host.
    void Invalidate() const;
    // Brings the control above its siblings in the host's z-order.
    void BringToFront();

    // Draws the control; dc's origin is the control's top-left corner.
    virtual void Paint(HDC dc) { (void)dc; }

    // Scales what the control draws (its fonts and pictures) from one DPI
    // to another; the host scales its bounds.
    virtual void ScaleContent(int fromDpi, int toDpi) { (void)fromDpi, (void)toDpi; }

    // The host calls these; the defaults raise the events.
    virtual void MouseDown(MouseButton button, ShiftState shift, POINT at);
    virtual void MouseMove(ShiftState shift, POINT at);
    virtual void MouseUp(MouseButton button, ShiftState shift, POINT at);
    virtual void MouseEnter();
    virtual void MouseLeave();
    // True where the control takes the mouse at point (control coordinates).
    virtual bool HitTest(POINT at) const { return at.x >= 0 && at.y >= 0 && at.x < Width() && at.y < Height(); }

protected:
    // Called after the bounds changed.
    virtual void Resized() {}

    // Click tracking shared by the buttons: a left press that is not the
    // second press of a double click arms a click; the release of that button
    // inside the control (hit-tested at the release point) fires it.
    void ArmClick(MouseButton button, ShiftState shift) {
        if (button == MouseButton::Left) clickArmed_ = !shift.doubleClick;
    }
    bool TakeClick(MouseButton button, POINT at) {
        if (button != MouseButton::Left) return false;
        const bool click = clickArmed_ && HitTest(at);
        clickArmed_ = false;
        return click;
    }

private:
    friend class HostWindow;
    HostWindow* parent_ = nullptr;
    RECT bounds_{};
    bool visible_ = true;
    bool enabled_ = true;
    bool clickArmed_ = false;
};

} // namespace ui
