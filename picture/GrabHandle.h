// One grab handle of the crop frame controller: a 6 x 6 black child window
// that hands its mouse events to the controller.
#pragma once

#include "ui/Control.h"
#include "ui/Window.h"

#include <functional>

namespace picture {

class GrabHandle;

// The handle's events carry the same information as a windowless control's:
// the sender, the button (press and release), the shift state and the point
// in the handle's own coordinates.
using GrabHandleButtonHandler = std::function<void(GrabHandle& sender, ui::MouseButton, ui::ShiftState, POINT)>;
using GrabHandleMoveHandler = std::function<void(GrabHandle& sender, ui::ShiftState, POINT)>;

class GrabHandle : public ui::Window {
public:
    // The side at 96 DPI; a handle grows with the scale of its parent's monitor.
    static constexpr int kSize = 6;

    // Creates the handle, hidden, as a child of parent and raises it above
    // its siblings.
    explicit GrabHandle(HWND parent);

    GrabHandleButtonHandler OnMouseDown;
    GrabHandleMoveHandler OnMouseMove;
    GrabHandleButtonHandler OnMouseUp;

    // This handle is being dragged. The controller sets it at a left press and
    // clears it at the left release; losing the mouse clears it too.
    bool Dragging() const { return dragging_; }
    void SetDragging(bool dragging) { dragging_ = dragging; }

    // The cursor position, in screen coordinates, at the press or the last
    // drag step of this handle: the next step moves by the distance from it.
    POINT LastCursor() const { return lastCursor_; }
    void SetLastCursor(POINT at) { lastCursor_ = at; }

    // The cursor shown over the handle.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }

    // Position in the client coordinates of the parent window.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return size_; }
    int Height() const { return size_; }
    void SetPosition(int left, int top);

    // Moves the handle onto another parent window, keeping its position
    // numbers (which are then taken in the new parent's client area).
    void SetParentWindow(HWND parent);
    HWND ParentWindow() const { return GetParent(Handle()); }

    void SetVisible(bool visible);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
    void RaiseToTop();

    int size_ = kSize;
    int left_ = 0;
    int top_ = 0;
    bool dragging_ = false;
    POINT lastCursor_{};
    HCURSOR cursor_ = nullptr;
};

} // namespace picture
