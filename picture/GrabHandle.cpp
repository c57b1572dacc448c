#include "picture/GrabHandle.h"

#include "ui/Handles.h"
#include "ui/Scale.h"

#include <windowsx.h>

namespace picture {

namespace {

const wchar_t* const kClassName = L"SnaporaGrabHandle";

} // namespace

GrabHandle::GrabHandle(HWND parent) : size_(ui::Scale(ui::WindowDpi(parent)).Px(kSize)) {
    // No CS_DBLCLKS: a quick second press on a handle is just another press
    // that starts a drag, never a double-click that nobody handles.
    CreateHandle(
        {.name = kClassName, .style = 0, .cursor = nullptr},
        {.style = WS_CHILD | WS_CLIPSIBLINGS, .x = 0, .y = 0, .width = size_, .height = size_, .parent = parent});
    RaiseToTop();
}

void GrabHandle::RaiseToTop() {
    // A child window created later is placed at the top of its siblings'
    // z-order anyway, but the handles must also stay above siblings that are
    // created after them, and above the ones of a new parent.
    BringWindowToTop(Handle());
}

void GrabHandle::SetPosition(int left, int top) {
    if (left == left_ && top == top_) return;
    left_ = left;
    top_ = top;
    // SWP_NOZORDER keeps the handle where RaiseToTop put it; moving a child
    // window invalidates the parent's area it uncovers, so the parent
    // repaints what was beneath the handle.
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void GrabHandle::SetParentWindow(HWND parent) {
    if (GetParent(Handle()) == parent) return;
    SetParent(Handle(), parent);
    SetWindowPos(Handle(), nullptr, left_, top_, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    RaiseToTop();
}

void GrabHandle::SetVisible(bool visible) {
    // SW_SHOWNA: showing a handle must not take the activation or the focus
    // from the window the user works in.
    ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE);
}

void GrabHandle::Paint(HDC dc) {
    // A black brush under the default pen (one pixel, black): the whole
    // handle is a black square.
    ui::ScopedSelect brush(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 0, 0, Width(), Height());
}

LRESULT GrabHandle::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    const ui::ShiftState shift = ui::ShiftState::FromMouseKeys(wParam);
    auto press = [&](ui::MouseButton button) {
        // The handle keeps the mouse while any button is held, so that the
        // moves and the release of a drag come here even when the cursor runs
        // ahead of the handle.
        if (GetCapture() != Handle()) SetCapture(Handle());
        if (OnMouseDown) OnMouseDown(*this, button, shift, at);
        return 0;
    };
    auto release = [&](ui::MouseButton button) {
        // wParam holds the buttons still down after this release; the capture
        // ends with the last of them.
        if (!shift.left && !shift.right && !shift.middle && GetCapture() == Handle()) ReleaseCapture();
        if (OnMouseUp) OnMouseUp(*this, button, shift, at);
        return 0;
    };

    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        Paint(dc);
        EndPaint(Handle(), &ps);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1; // Paint covers every pixel
    case WM_SETCURSOR:
        if (LOWORD(lParam) == HTCLIENT && cursor_) {
            ::SetCursor(cursor_);
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        return press(ui::MouseButton::Left);
    case WM_RBUTTONDOWN:
        return press(ui::MouseButton::Right);
    case WM_MBUTTONDOWN:
        return press(ui::MouseButton::Middle);
    case WM_LBUTTONUP:
        return release(ui::MouseButton::Left);
    case WM_RBUTTONUP:
        return release(ui::MouseButton::Right);
    case WM_MBUTTONUP:
        return release(ui::MouseButton::Middle);
    case WM_MOUSEMOVE:
        if (OnMouseMove) OnMouseMove(*this, shift, at);
        return 0;
    case WM_CAPTURECHANGED:
        // Losing the mouse in the middle of a drag (another window took it,
        // or a system menu or task switch came up) means this handle will
        // never see the release: the drag ends here, or a later drag of
        // another handle would move this one instead.
        if (reinterpret_cast<HWND>(lParam) != Handle()) dragging_ = false;
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace picture
