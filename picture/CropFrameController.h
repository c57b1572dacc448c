// The crop frame controller: lets the user move registered windowless
// controls by their body and resize the current one with eight grab handles
// around it (four corners, four edge midpoints).
//
// All positions (Left, Top) are client coordinates of the common parent
// window. The handlers read the cursor themselves in screen coordinates and use
// only differences between two readings, so the two spaces never mix.
//
// The controller neither clamps nor normalises: a handle may be dragged past
// the opposite one, leaving the control with a zero or negative width or
// height, and neither the control nor the handles are held inside anything.
// The window that uses the controller decides what such a frame means.
#pragma once

#include "picture/GrabHandle.h"
#include "ui/Control.h"

#include <memory>
#include <vector>

class TDragClass {
public:
    // The handles in the order in which they are created and searched.
    enum class Point { TopLeft, BottomLeft, TopRight, BottomRight, Left, Top, Right, Bottom };
    static constexpr int PointCount = 8;

    // Creates the eight handles, hidden, on the window pointsParent.
    explicit TDragClass(HWND pointsParent);
    // Destroys the handles. The registered controls are not touched: their
    // handlers stay attached but no longer reach the controller.
    ~TDragClass();
    TDragClass(const TDragClass&) = delete;
    TDragClass& operator=(const TDragClass&) = delete;

    // Registers a control and makes it current, with the handles shown around
    // it. False if the control has no parent window or is registered already;
    // nothing changes then. The control is not owned and must outlive the
    // controller or never be moved through it after its destruction.
    bool AddControl(ui::Control& control);
    // Makes a registered control current; an unregistered one changes nothing.
    void SelectControl(ui::Control& control);
    void SetPointsVisible(bool visible);
    void SetPointsParent(HWND parent);
    // Places the handles around the rectangle (left, top, right, bottom).
    void PlacePoints(const RECT& bounds);
    void SetStepMode(bool stepMode) { StepMode = stepMode; }
    // Keeps the step within 5..20 pixels.
    void SetStepSize(int stepSize);

    bool GetStepMode() const { return StepMode; }
    int GetStepSize() const { return StepSize; }
    int GetCurrentIndex() const { return CurrentIndex; }
    // The control the handles belong to, or null while none is registered.
    ui::Control* CurrentControl() const;
    const std::vector<ui::Control*>& Controls() const { return ControlList; }
    TDragPoint& GetPoint(Point which) const;

private:
    void CreatePoints(HWND parent);
    void HookPointEvents();

    void ControlMouseDown(ui::Control& sender, ui::MouseButton button);
    void ControlMouseMove(ui::Control& sender, ui::ShiftState shift);
    void ControlMouseUp();
    void PointMouseDown(TDragPoint& sender, ui::MouseButton button);
    void PointMouseMove(ui::ShiftState shift);
    void PointMouseUp(TDragPoint& sender, ui::MouseButton button);

    // One drag step of a handle along the axes it controls: reads the cursor,
    // moves the handle (in step mode once the accumulated distance reaches the
    // step) and takes the new reading as the reference.
    void StepPoint(TDragPoint& point, bool horizontal, bool vertical);
    void MoveTopLeft();
    void MoveBottomLeft();
    void MoveTopRight();
    void MoveBottomRight();
    void MoveLeft();
    void MoveTop();
    void MoveRight();
    void MoveBottom();
    // Gives the current control the bounds the corner handles describe.
    void ApplyBounds();

    std::vector<ui::Control*> ControlList;
    int CurrentIndex = -1;
    std::unique_ptr<TDragPoint> PtTopLeft;
    std::unique_ptr<TDragPoint> PtBottomLeft;
    std::unique_ptr<TDragPoint> PtTopRight;
    std::unique_ptr<TDragPoint> PtBottomRight;
    std::unique_ptr<TDragPoint> PtLeft;
    std::unique_ptr<TDragPoint> PtTop;
    std::unique_ptr<TDragPoint> PtRight;
    std::unique_ptr<TDragPoint> PtBottom;
    bool StepMode = false;
    int StepSize = 5;
    int AccX = 0;
    int AccY = 0;
    ui::MouseButtonHandler ControlDownHandler;
    ui::MouseMoveHandler ControlMoveHandler;
    ui::MouseButtonHandler ControlUpHandler;
    bool Moving = false;
    POINT OldPos{};
    POINT NewPos{};

    // The handlers given to the controls hold only a weak reference to this,
    // which dies with the controller: a control that outlives it keeps a
    // handler that does nothing instead of one that calls a dead object.
    std::shared_ptr<TDragClass*> self_ = std::make_shared<TDragClass*>(this);
};
