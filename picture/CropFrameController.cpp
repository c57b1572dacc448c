#include "picture/CropFrameController.h"

#include "ui/HostWindow.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The midpoint of two coordinates, rounded toward zero like every integer
// division here, so that the handles sit where the re-alignment puts them.
int Mid(int a, int b) { return (a + b) / 2; }

POINT CursorPos() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

HCURSOR SystemCursor(const wchar_t* id) { return LoadCursorW(nullptr, id); }

} // namespace

TDragClass::TDragClass(HWND pointsParent) {
    // The handlers reach the controller through a weak reference, so that a
    // control or handle event arriving after the controller is gone is
    // dropped instead of calling into freed memory.
    std::weak_ptr<TDragClass*> self = self_;
    ControlDownHandler = [self](ui::Control& sender, ui::MouseButton button, ui::ShiftState, POINT) {
        if (auto alive = self.lock()) (*alive)->ControlMouseDown(sender, button);
    };
    ControlMoveHandler = [self](ui::Control& sender, ui::ShiftState shift, POINT) {
        if (auto alive = self.lock()) (*alive)->ControlMouseMove(sender, shift);
    };
    ControlUpHandler = [self](ui::Control&, ui::MouseButton, ui::ShiftState, POINT) {
        if (auto alive = self.lock()) (*alive)->ControlMouseUp();
    };
    CreatePoints(pointsParent);
    SetPointsVisible(false);
    HookPointEvents();
}

TDragClass::~TDragClass() = default;

void TDragClass::CreatePoints(HWND parent) {
    struct Creation {
        std::unique_ptr<TDragPoint> TDragClass::*field;
        const wchar_t* cursor;
    };
    static const Creation creations[] = {
        {&TDragClass::PtTopLeft, IDC_SIZENWSE},  {&TDragClass::PtBottomLeft, IDC_SIZENESW},
        {&TDragClass::PtTopRight, IDC_SIZENESW}, {&TDragClass::PtBottomRight, IDC_SIZENWSE},
        {&TDragClass::PtLeft, IDC_SIZEWE},       {&TDragClass::PtTop, IDC_SIZENS},
        {&TDragClass::PtRight, IDC_SIZEWE},      {&TDragClass::PtBottom, IDC_SIZENS},
    };
    for (const Creation& creation : creations) {
        auto point = std::make_unique<TDragPoint>(parent);
        point->Cursor = SystemCursor(creation.cursor);
        this->*creation.field = std::move(point);
    }
    SetPointsParent(parent);
}

void TDragClass::HookPointEvents() {
    for (int i = 0; i < PointCount; ++i) {
        TDragPoint& point = GetPoint(static_cast<Point>(i));
        // The handles are owned by the controller and die with it, so they
        // may hold it directly.
        point.OnMouseDown = [this](TDragPoint& sender, ui::MouseButton button, ui::ShiftState, POINT) {
            PointMouseDown(sender, button);
        };
        point.OnMouseMove = [this](TDragPoint&, ui::ShiftState shift, POINT) { PointMouseMove(shift); };
        point.OnMouseUp = [this](TDragPoint& sender, ui::MouseButton button, ui::ShiftState, POINT) {
            PointMouseUp(sender, button);
        };
    }
}

TDragPoint& TDragClass::GetPoint(Point which) const {
    switch (which) {
    case Point::TopLeft:
        return *PtTopLeft;
    case Point::BottomLeft:
        return *PtBottomLeft;
    case Point::TopRight:
        return *PtTopRight;
    case Point::BottomRight:
        return *PtBottomRight;
    case Point::Left:
        return *PtLeft;
    case Point::Top:
        return *PtTop;
    case Point::Right:
        return *PtRight;
    case Point::Bottom:
        break;
    }
    return *PtBottom;
}

ui::Control* TDragClass::CurrentControl() const {
    if (CurrentIndex < 0 || CurrentIndex >= static_cast<int>(ControlList.size())) return nullptr;
    return ControlList[CurrentIndex];
}

bool TDragClass::AddControl(ui::Control& control) {
    ui::HostWindow* parent = control.Parent();
    if (!parent) return false;
    if (std::find(ControlList.begin(), ControlList.end(), &control) != ControlList.end()) return false;
    ControlList.push_back(&control);
    CurrentIndex = static_cast<int>(ControlList.size()) - 1;

    control.Cursor = SystemCursor(IDC_SIZEALL);
    // The host paints double-buffered already. WS_CLIPCHILDREN keeps its
    // paint from covering the handles, which are child windows of it: without
    // it, every repaint of the frame beneath a handle would wipe the handle
    // until the handle itself is next invalidated.
    const LONG_PTR style = GetWindowLongPtrW(parent->Handle(), GWL_STYLE);
    if (!(style & WS_CLIPCHILDREN)) SetWindowLongPtrW(parent->Handle(), GWL_STYLE, style | WS_CLIPCHILDREN);

    control.OnMouseDown = ControlDownHandler;
    control.OnMouseMove = ControlMoveHandler;
    control.OnMouseUp = ControlUpHandler;

    SetPointsParent(parent->Handle());
    PlacePoints(control.Bounds());
    SetPointsVisible(true);
    return true;
}

void TDragClass::SelectControl(ui::Control& control) {
    const auto found = std::find(ControlList.begin(), ControlList.end(), &control);
    if (found != ControlList.end()) CurrentIndex = static_cast<int>(found - ControlList.begin());
}

void TDragClass::SetPointsVisible(bool visible) {
    for (int i = 0; i < PointCount; ++i)
        GetPoint(static_cast<Point>(i)).SetVisible(visible);
}

void TDragClass::SetPointsParent(HWND parent) {
    for (int i = 0; i < PointCount; ++i)
        GetPoint(static_cast<Point>(i)).SetParentWindow(parent);
}

void TDragClass::PlacePoints(const RECT& r) {
    const int s = TDragPoint::Size, half = TDragPoint::Size / 2;
    const int midX = Mid(r.left, r.right) - half, midY = Mid(r.top, r.bottom) - half;
    PtTopLeft->SetPosition(r.left - s, r.top - s);
    PtBottomLeft->SetPosition(r.left - s, r.bottom);
    PtTopRight->SetPosition(r.right, r.top - s);
    PtBottomRight->SetPosition(r.right, r.bottom);
    PtLeft->SetPosition(r.left - s, midY);
    PtTop->SetPosition(midX, r.top - s);
    PtRight->SetPosition(r.right, midY);
    PtBottom->SetPosition(midX, r.bottom);
}

void TDragClass::SetStepSize(int stepSize) { StepSize = std::clamp(stepSize, 5, 20); }

void TDragClass::ControlMouseDown(ui::Control& sender, ui::MouseButton button) {
    if (button == ui::MouseButton::Left) {
        Moving = true;
        OldPos = CursorPos();
    }
    // Any press on a registered control brings the handles to it.
    if (sender.Parent()) SetPointsParent(sender.Parent()->Handle());
    AccX = 0;
    AccY = 0;
    PlacePoints(sender.Bounds());
    SetPointsVisible(true);
    SelectControl(sender);
}

void TDragClass::ControlMouseMove(ui::Control& sender, ui::ShiftState shift) {
    // Moves with another button or a modifier held are dropped without
    // touching OldPos, so the next clean move applies the whole distance.
    if (!Moving || !shift.OnlyLeft()) return;
    NewPos = CursorPos();
    const int dx = NewPos.x - OldPos.x, dy = NewPos.y - OldPos.y;
    int left = sender.Left(), top = sender.Top();
    if (!StepMode) {
        left += dx;
        top += dy;
    } else {
        AccX += dx;
        AccY += dy;
        if (std::abs(AccX) >= StepSize) {
            left += AccX;
            AccX = 0;
        }
        // The body waits for more than a step vertically but only for a full
        // step horizontally; the frame's feel depends on it, so it stays.
        if (std::abs(AccY) > StepSize) {
            top += AccY;
            AccY = 0;
        }
    }
    sender.SetBounds(left, top, sender.Width(), sender.Height());
    PlacePoints(sender.Bounds());
    OldPos = NewPos;
}

void TDragClass::ControlMouseUp() { Moving = false; }

void TDragClass::PointMouseDown(TDragPoint& sender, ui::MouseButton button) {
    if (button != ui::MouseButton::Left) return;
    AccX = 0;
    AccY = 0;
    sender.Down = true;
    sender.OldPos = CursorPos();
}

void TDragClass::PointMouseMove(ui::ShiftState shift) {
    if (!shift.OnlyLeft()) return;
    // The handle under drag is found by its Down flag, not by the sender.
    if (PtTopLeft->Down)
        MoveTopLeft();
    else if (PtBottomLeft->Down)
        MoveBottomLeft();
    else if (PtTopRight->Down)
        MoveTopRight();
    else if (PtBottomRight->Down)
        MoveBottomRight();
    else if (PtLeft->Down)
        MoveLeft();
    else if (PtTop->Down)
        MoveTop();
    else if (PtRight->Down)
        MoveRight();
    else if (PtBottom->Down)
        MoveBottom();
    else
        return;
    ApplyBounds();
}

void TDragClass::PointMouseUp(TDragPoint& sender, ui::MouseButton button) {
    if (button != ui::MouseButton::Left) return;
    for (int i = 0; i < PointCount; ++i) {
        TDragPoint& point = GetPoint(static_cast<Point>(i));
        if (point.Down && &point == &sender) {
            point.Down = false;
            return;
        }
    }
}

void TDragClass::StepPoint(TDragPoint& point, bool horizontal, bool vertical) {
    point.NewPos = CursorPos();
    const int dx = point.NewPos.x - point.OldPos.x, dy = point.NewPos.y - point.OldPos.y;
    int left = point.Left(), top = point.Top();
    if (!StepMode) {
        if (horizontal) left += dx;
        if (vertical) top += dy;
    } else {
        // Handles wait for a full step on both axes; an edge handle leaves the
        // other axis's accumulator alone.
        if (horizontal) {
            AccX += dx;
            if (std::abs(AccX) >= StepSize) {
                left += AccX;
                AccX = 0;
            }
        }
        if (vertical) {
            AccY += dy;
            if (std::abs(AccY) >= StepSize) {
                top += AccY;
                AccY = 0;
            }
        }
    }
    point.SetPosition(left, top);
    point.OldPos = point.NewPos;
}

// After each mover the corners agree with each other and the edge handles sit
// at the midpoints of their edges again. Only the handles that depend on a
// moved corner are touched; a handle never moves along an axis it does not
// control. The midpoints need no "- 3": the handles' own offsets hold it.

void TDragClass::MoveTopLeft() {
    StepPoint(*PtTopLeft, true, true);
    PtBottomLeft->SetLeft(PtTopLeft->Left());
    PtTopRight->SetTop(PtTopLeft->Top());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveBottomLeft() {
    StepPoint(*PtBottomLeft, true, true);
    PtTopLeft->SetLeft(PtBottomLeft->Left());
    PtBottomRight->SetTop(PtBottomLeft->Top());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
    PtBottom->SetTop(PtBottomLeft->Top());
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveTopRight() {
    StepPoint(*PtTopRight, true, true);
    PtTopLeft->SetTop(PtTopRight->Top());
    PtBottomRight->SetLeft(PtTopRight->Left());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtRight->SetLeft(PtTopRight->Left());
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
    PtBottom->SetTop(PtBottomLeft->Top());
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveBottomRight() {
    StepPoint(*PtBottomRight, true, true);
    PtBottomLeft->SetTop(PtBottomRight->Top());
    PtTopRight->SetLeft(PtBottomRight->Left());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtRight->SetLeft(PtTopRight->Left());
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
    PtBottom->SetTop(PtBottomLeft->Top());
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveLeft() {
    StepPoint(*PtLeft, true, false);
    PtTopLeft->SetLeft(PtLeft->Left());
    PtBottomLeft->SetLeft(PtLeft->Left());
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtBottom->SetTop(PtBottomLeft->Top());
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveTop() {
    StepPoint(*PtTop, false, true);
    PtTopLeft->SetTop(PtTop->Top());
    PtTopRight->SetTop(PtTop->Top());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtRight->SetLeft(PtTopRight->Left());
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
}

void TDragClass::MoveRight() {
    StepPoint(*PtRight, true, false);
    PtTopRight->SetLeft(PtRight->Left());
    PtBottomRight->SetLeft(PtRight->Left());
    PtTop->SetTop(PtTopLeft->Top());
    PtTop->SetLeft(Mid(PtTopRight->Left(), PtTopLeft->Left()));
    PtBottom->SetTop(PtBottomLeft->Top());
    PtBottom->SetLeft(Mid(PtBottomLeft->Left(), PtBottomRight->Left()));
}

void TDragClass::MoveBottom() {
    StepPoint(*PtBottom, false, true);
    PtBottomLeft->SetTop(PtBottom->Top());
    PtBottomRight->SetTop(PtBottom->Top());
    PtLeft->SetLeft(PtTopLeft->Left());
    PtLeft->SetTop(Mid(PtBottomLeft->Top(), PtTopLeft->Top()));
    PtRight->SetLeft(PtTopRight->Left());
    PtRight->SetTop(Mid(PtTopRight->Top(), PtBottomRight->Top()));
}

void TDragClass::ApplyBounds() {
    // Moving a handle with no control registered has nothing to resize.
    ui::Control* control = CurrentControl();
    if (!control) return;
    const int left = PtTopLeft->Left() + PtTopLeft->Width();
    const int top = PtTopLeft->Top() + PtTopLeft->Height();
    control->SetBounds(left, top, PtTopRight->Left() - left, PtBottomLeft->Top() - top);
}
