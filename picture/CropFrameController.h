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

#include <array>
#include <memory>
#include <vector>

namespace picture {

class CropFrameController {
public:
    // The handles in the order in which they are created and searched.
    enum class Handle { TopLeft, BottomLeft, TopRight, BottomRight, Left, Top, Right, Bottom };
    static constexpr int kHandleCount = 8;

    // Creates the eight handles, hidden, on the window handlesParent.
    explicit CropFrameController(HWND handlesParent);
    // Destroys the handles. The registered controls are not touched: their
    // handlers stay attached but no longer reach the controller.
    ~CropFrameController();
    CropFrameController(const CropFrameController&) = delete;
    CropFrameController& operator=(const CropFrameController&) = delete;

    // Registers a control and makes it current, with the handles shown around
    // it. False if the control has no parent window or is registered already;
    // nothing changes then. The control is not owned and must outlive the
    // controller or never be moved through it after its destruction.
    bool AddControl(ui::Control& control);
    // Makes a registered control current; an unregistered one changes nothing.
    void SelectControl(ui::Control& control);
    void SetHandlesVisible(bool visible);
    void SetHandlesParent(HWND parent);
    // Places the handles around the rectangle (left, top, right, bottom).
    void PlaceHandles(const RECT& bounds);
    // In step mode a drag moves the control or handle only once the cursor
    // has travelled a step's worth since the last move.
    void SetStepMode(bool stepMode) { stepMode_ = stepMode; }
    // Keeps the step within 5..20 pixels.
    void SetStepSize(int stepSize);

    bool StepMode() const { return stepMode_; }
    int StepSize() const { return stepSize_; }
    // The index in Controls() of the current control; -1 while none is registered.
    int CurrentIndex() const { return currentIndex_; }
    // The control the handles belong to, or null while none is registered.
    ui::Control* CurrentControl() const;
    const std::vector<ui::Control*>& Controls() const { return controls_; }
    GrabHandle& HandleAt(Handle which) const { return *handles_[static_cast<int>(which)]; }

private:
    static constexpr int kMinStepSize = 5;
    static constexpr int kMaxStepSize = 20;

    void CreateHandles(HWND parent);
    void HookHandleEvents();

    void OnControlMouseDown(ui::Control& sender, ui::MouseButton button);
    void OnControlMouseMove(ui::Control& sender, ui::ShiftState shift);
    void OnControlMouseUp();
    void OnHandleMouseDown(GrabHandle& sender, ui::MouseButton button);
    void OnHandleMouseMove(ui::ShiftState shift);
    void OnHandleMouseUp(GrabHandle& sender, ui::MouseButton button);

    // The frame's edges as handle coordinates: left and top are where the
    // top-left handle sits, right and bottom where the bottom-right one does.
    struct HandleEdges {
        int left, top, right, bottom;
    };

    // One drag step of the handle which: moves it along the axes it controls,
    // then re-aligns the others around the edges it leaves.
    void DragStep(Handle which);
    // Reads the cursor, moves the handle (in step mode once the accumulated
    // distance reaches the step) and takes the new reading as the reference.
    void StepHandle(GrabHandle& handle, bool horizontal, bool vertical);
    // Puts the corners and the edge handles on the edges. The midpoint of an
    // axis the drag moved (horizontal, vertical) is re-centred; the other one
    // stays, so that no handle moves along an axis the dragged one does not
    // control.
    void AlignHandles(const HandleEdges& edges, bool horizontal, bool vertical);
    // Gives the current control the bounds the corner handles describe.
    void ApplyBounds();

    std::vector<ui::Control*> controls_;
    int currentIndex_ = -1;
    // Indexed by Handle.
    std::array<std::unique_ptr<GrabHandle>, kHandleCount> handles_;
    bool stepMode_ = false;
    int stepSize_ = kMinStepSize;
    // Movement read in step mode and not yet applied. One pair serves the body
    // drag and all handles; a press clears it.
    int pendingDx_ = 0;
    int pendingDy_ = 0;
    ui::MouseButtonHandler controlDownHandler_;
    ui::MouseMoveHandler controlMoveHandler_;
    ui::MouseButtonHandler controlUpHandler_;
    // A registered control's body is being dragged.
    bool moving_ = false;
    // The cursor position, in screen coordinates, at the press or the last
    // step of the body drag.
    POINT lastCursor_{};

    // The handlers given to the controls hold only a weak reference to this,
    // which dies with the controller: a control that outlives it keeps a
    // handler that does nothing instead of one that calls a dead object.
    std::shared_ptr<CropFrameController*> self_ = std::make_shared<CropFrameController*>(this);
};

} // namespace picture
