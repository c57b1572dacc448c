#include "picture/CropFrameController.h"

#include "ui/Cursor.h"
#include "ui/HostWindow.h"

#include <algorithm>
#include <cstdlib>

namespace picture {

namespace {

// The midpoint of two coordinates, rounded toward zero like every integer
// division here, so that the handles sit where the re-alignment puts them.
int Mid(int a, int b) { return (a + b) / 2; }

HCURSOR SystemCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

// The frame edges a handle carries, in Handle order: a corner moves two, an
// edge handle one, and a drag moves the handle along those edges' axes only.
struct OwnedEdges {
    bool left, top, right, bottom;
};
constexpr OwnedEdges kOwnedEdges[CropFrameController::kHandleCount] = {
    {.left = true, .top = true},     // TopLeft
    {.left = true, .bottom = true},  // BottomLeft
    {.top = true, .right = true},    // TopRight
    {.right = true, .bottom = true}, // BottomRight
    {.left = true},                  // Left
    {.top = true},                   // Top
    {.right = true},                 // Right
    {.bottom = true},                // Bottom
};

} // namespace

CropFrameController::CropFrameController(HWND handlesParent) {
    // The handlers reach the controller through a weak reference, so that a
    // control or handle event arriving after the controller is gone is
    // dropped instead of calling into freed memory.
    std::weak_ptr<CropFrameController*> self = self_;
    controlDownHandler_ = [self](ui::Control& sender, ui::MouseButton button, ui::ShiftState, POINT) {
        if (auto alive = self.lock()) (*alive)->OnControlMouseDown(sender, button);
    };
    controlMoveHandler_ = [self](ui::Control& sender, ui::ShiftState shift, POINT) {
        if (auto alive = self.lock()) (*alive)->OnControlMouseMove(sender, shift);
    };
    controlUpHandler_ = [self](ui::Control&, ui::MouseButton, ui::ShiftState, POINT) {
        if (auto alive = self.lock()) (*alive)->OnControlMouseUp();
    };
    CreateHandles(handlesParent);
    SetHandlesVisible(false);
    HookHandleEvents();
}

CropFrameController::~CropFrameController() = default;

void CropFrameController::CreateHandles(HWND parent) {
    // The cursors in Handle order.
    static const wchar_t* const cursors[kHandleCount] = {
        IDC_SIZENWSE, IDC_SIZENESW, IDC_SIZENESW, IDC_SIZENWSE, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEWE, IDC_SIZENS,
    };
    for (int i = 0; i < kHandleCount; ++i) {
        handles_[i] = std::make_unique<GrabHandle>(parent);
        handles_[i]->SetCursor(SystemCursor(cursors[i]));
    }
    SetHandlesParent(parent);
}

void CropFrameController::HookHandleEvents() {
    for (const auto& handle : handles_) {
        // The handles are owned by the controller and die with it, so they
        // may hold it directly.
        handle->OnMouseDown = [this](GrabHandle& sender, ui::MouseButton button, ui::ShiftState, POINT) {
            OnHandleMouseDown(sender, button);
        };
        handle->OnMouseMove = [this](GrabHandle&, ui::ShiftState shift, POINT) { OnHandleMouseMove(shift); };
        handle->OnMouseUp = [this](GrabHandle& sender, ui::MouseButton button, ui::ShiftState, POINT) {
            OnHandleMouseUp(sender, button);
        };
    }
}

ui::Control* CropFrameController::CurrentControl() const {
    if (currentIndex_ < 0 || currentIndex_ >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[currentIndex_];
}

bool CropFrameController::AddControl(ui::Control& control) {
    ui::HostWindow* parent = control.Parent();
    if (!parent) return false;
    if (std::find(controls_.begin(), controls_.end(), &control) != controls_.end()) return false;
    controls_.push_back(&control);
    currentIndex_ = static_cast<int>(controls_.size()) - 1;

    control.Cursor = SystemCursor(IDC_SIZEALL);
    // The host paints double-buffered already. WS_CLIPCHILDREN keeps its
    // paint from covering the handles, which are child windows of it: without
    // it, every repaint of the frame beneath a handle would wipe the handle
    // until the handle itself is next invalidated.
    const LONG_PTR style = GetWindowLongPtrW(parent->Handle(), GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) SetWindowLongPtrW(parent->Handle(), GWL_STYLE, style | WS_CLIPCHILDREN);

    control.OnMouseDown = controlDownHandler_;
    control.OnMouseMove = controlMoveHandler_;
    control.OnMouseUp = controlUpHandler_;

    SetHandlesParent(parent->Handle());
    PlaceHandles(control.Bounds());
    SetHandlesVisible(true);
    return true;
}

void CropFrameController::SelectControl(ui::Control& control) {
    const auto found = std::find(controls_.begin(), controls_.end(), &control);
    if (found != controls_.end()) currentIndex_ = static_cast<int>(found - controls_.begin());
}

void CropFrameController::SetHandlesVisible(bool visible) {
    for (const auto& handle : handles_)
        handle->SetVisible(visible);
}

void CropFrameController::SetHandlesParent(HWND parent) {
    for (const auto& handle : handles_)
        handle->SetParentWindow(parent);
}

void CropFrameController::PlaceHandles(const RECT& r) {
    const int s = HandleAt(Handle::TopLeft).Width(), half = s / 2;
    const int midX = Mid(r.left, r.right) - half, midY = Mid(r.top, r.bottom) - half;
    HandleAt(Handle::TopLeft).SetPosition(r.left - s, r.top - s);
    HandleAt(Handle::BottomLeft).SetPosition(r.left - s, r.bottom);
    HandleAt(Handle::TopRight).SetPosition(r.right, r.top - s);
    HandleAt(Handle::BottomRight).SetPosition(r.right, r.bottom);
    HandleAt(Handle::Left).SetPosition(r.left - s, midY);
    HandleAt(Handle::Top).SetPosition(midX, r.top - s);
    HandleAt(Handle::Right).SetPosition(r.right, midY);
    HandleAt(Handle::Bottom).SetPosition(midX, r.bottom);
}

void CropFrameController::SetStepSize(int stepSize) { stepSize_ = std::clamp(stepSize, kMinStepSize, kMaxStepSize); }

void CropFrameController::OnControlMouseDown(ui::Control& sender, ui::MouseButton button) {
    if (button == ui::MouseButton::Left) {
        moving_ = true;
        lastCursor_ = ui::CursorPosition();
    }
    // Any press on a registered control brings the handles to it.
    if (sender.Parent()) SetHandlesParent(sender.Parent()->Handle());
    pendingDx_ = 0;
    pendingDy_ = 0;
    PlaceHandles(sender.Bounds());
    SetHandlesVisible(true);
    SelectControl(sender);
}

void CropFrameController::OnControlMouseMove(ui::Control& sender, ui::ShiftState shift) {
    // Moves with another button or a modifier held are dropped without
    // touching lastCursor_, so the next clean move applies the whole distance.
    if (!moving_ || !shift.OnlyLeft()) return;
    const POINT cursor = ui::CursorPosition();
    const int dx = cursor.x - lastCursor_.x, dy = cursor.y - lastCursor_.y;
    int left = sender.Left(), top = sender.Top();
    if (!stepMode_) {
        left += dx;
        top += dy;
    } else {
        pendingDx_ += dx;
        pendingDy_ += dy;
        if (std::abs(pendingDx_) >= stepSize_) {
            left += pendingDx_;
            pendingDx_ = 0;
        }
        // The body waits for more than a step vertically but only for a full
        // step horizontally; the frame's feel depends on it, so it stays.
        if (std::abs(pendingDy_) > stepSize_) {
            top += pendingDy_;
            pendingDy_ = 0;
        }
    }
    sender.SetBounds(left, top, sender.Width(), sender.Height());
    PlaceHandles(sender.Bounds());
    lastCursor_ = cursor;
}

void CropFrameController::OnControlMouseUp() { moving_ = false; }

void CropFrameController::OnHandleMouseDown(GrabHandle& sender, ui::MouseButton button) {
    if (button != ui::MouseButton::Left) return;
    pendingDx_ = 0;
    pendingDy_ = 0;
    sender.SetDragging(true);
    sender.SetLastCursor(ui::CursorPosition());
}

void CropFrameController::OnHandleMouseMove(ui::ShiftState shift) {
    if (!shift.OnlyLeft()) return;
    // The handle under drag is found by its dragging flag, not by the sender:
    // the first one in Handle order takes the step.
    for (int i = 0; i < kHandleCount; ++i) {
        if (handles_[i]->Dragging()) {
            DragStep(static_cast<Handle>(i));
            ApplyBounds();
            return;
        }
    }
}

void CropFrameController::OnHandleMouseUp(GrabHandle& sender, ui::MouseButton button) {
    if (button != ui::MouseButton::Left) return;
    for (const auto& handle : handles_) {
        if (handle->Dragging() && handle.get() == &sender) {
            handle->SetDragging(false);
            return;
        }
    }
}

void CropFrameController::StepHandle(GrabHandle& handle, bool horizontal, bool vertical) {
    const POINT cursor = ui::CursorPosition();
    const int dx = cursor.x - handle.LastCursor().x, dy = cursor.y - handle.LastCursor().y;
    int left = handle.Left(), top = handle.Top();
    if (!stepMode_) {
        if (horizontal) left += dx;
        if (vertical) top += dy;
    } else {
        // Handles wait for a full step on both axes; an edge handle leaves the
        // other axis's accumulator alone.
        if (horizontal) {
            pendingDx_ += dx;
            if (std::abs(pendingDx_) >= stepSize_) {
                left += pendingDx_;
                pendingDx_ = 0;
            }
        }
        if (vertical) {
            pendingDy_ += dy;
            if (std::abs(pendingDy_) >= stepSize_) {
                top += pendingDy_;
                pendingDy_ = 0;
            }
        }
    }
    handle.SetPosition(left, top);
    handle.SetLastCursor(cursor);
}

void CropFrameController::DragStep(Handle which) {
    const OwnedEdges owned = kOwnedEdges[static_cast<int>(which)];
    const bool horizontal = owned.left || owned.right, vertical = owned.top || owned.bottom;
    GrabHandle& dragged = HandleAt(which);
    StepHandle(dragged, horizontal, vertical);

    // The dragged handle gives the edges it carries; the corners that the
    // drag did not touch give the others.
    HandleEdges edges{HandleAt(Handle::TopLeft).Left(), HandleAt(Handle::TopLeft).Top(),
                      HandleAt(Handle::TopRight).Left(), HandleAt(Handle::BottomLeft).Top()};
    if (owned.left) edges.left = dragged.Left();
    if (owned.top) edges.top = dragged.Top();
    if (owned.right) edges.right = dragged.Left();
    if (owned.bottom) edges.bottom = dragged.Top();
    AlignHandles(edges, horizontal, vertical);
}

void CropFrameController::AlignHandles(const HandleEdges& edges, bool horizontal, bool vertical) {
    GrabHandle& left = HandleAt(Handle::Left);
    GrabHandle& top = HandleAt(Handle::Top);
    GrabHandle& right = HandleAt(Handle::Right);
    GrabHandle& bottom = HandleAt(Handle::Bottom);
    // The midpoints need no "- 3": the handles' own offsets hold it. They are
    // taken between handle positions, which rounds differently from
    // PlaceHandles where the sum is negative (a frame pushed past the window's
    // top or left side); that is why a midpoint along an axis the drag did
    // not move stays exactly where it was instead of being re-centred.
    const int topX = horizontal ? Mid(edges.left, edges.right) : top.Left();
    const int bottomX = horizontal ? Mid(edges.left, edges.right) : bottom.Left();
    const int leftY = vertical ? Mid(edges.top, edges.bottom) : left.Top();
    const int rightY = vertical ? Mid(edges.top, edges.bottom) : right.Top();

    HandleAt(Handle::TopLeft).SetPosition(edges.left, edges.top);
    HandleAt(Handle::BottomLeft).SetPosition(edges.left, edges.bottom);
    HandleAt(Handle::TopRight).SetPosition(edges.right, edges.top);
    HandleAt(Handle::BottomRight).SetPosition(edges.right, edges.bottom);
    left.SetPosition(edges.left, leftY);
    top.SetPosition(topX, edges.top);
    right.SetPosition(edges.right, rightY);
    bottom.SetPosition(bottomX, edges.bottom);
}

void CropFrameController::ApplyBounds() {
    // Moving a handle with no control registered has nothing to resize.
    ui::Control* control = CurrentControl();
    if (!control) return;
    const int left = HandleAt(Handle::TopLeft).Left() + HandleAt(Handle::TopLeft).Width();
    const int top = HandleAt(Handle::TopLeft).Top() + HandleAt(Handle::TopLeft).Height();
    control->SetBounds(left, top, HandleAt(Handle::TopRight).Left() - left, HandleAt(Handle::BottomLeft).Top() - top);
}

} // namespace picture
