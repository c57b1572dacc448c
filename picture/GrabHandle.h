// One grab handle of the crop frame controller: a 6 x 6 black child window
// that hands its mouse events to the controller.
#pragma once

#include "ui/Control.h"
#include "ui/Window.h"

#include <functional>

class TDragPoint;

// The handle's events carry the same information as a windowless control's:
// the sender, the button (press and release), the shift state and the point
// in the handle's own coordinates.
using DragPointButtonHandler = std::function<void(TDragPoint& sender, ui::MouseButton, ui::ShiftState, POINT)>;
using DragPointMoveHandler = std::function<void(TDragPoint& sender, ui::ShiftState, POINT)>;

class TDragPoint : public ui::Window {
public:
    static constexpr int Size = 6;

    // Creates the handle, hidden, as a child of parent and raises it above
    // its siblings.
    explicit TDragPoint(HWND parent);

    // This handle is being dragged.
    bool Down = false;
    // Cursor positions in screen coordinates: at the last drag step of this
    // handle, and at the current one.
    POINT OldPos{};
    POINT NewPos{};

    // The cursor shown over the handle.
    HCURSOR Cursor = nullptr;

    DragPointButtonHandler OnMouseDown;
    DragPointMoveHandler OnMouseMove;
    DragPointButtonHandler OnMouseUp;

    // Position in the client coordinates of the parent window.
    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return Size; }
    int Height() const { return Size; }
    void SetLeft(int left) { SetPosition(left, top_); }
    void SetTop(int top) { SetPosition(left_, top); }
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

    int left_ = 0;
    int top_ = 0;
};
