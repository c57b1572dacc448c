// The handles as the user meets them: painted on screen, driven by real
// input, and robust against the mouse being taken away or the controller
// going away in the middle of a drag.
#include "CropTestRig.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"

using namespace croptest;

using namespace support;

struct VisibleRig {
    static constexpr POINT Origin{100, 100};
    TestHost host{640, 480, WS_POPUP | WS_VISIBLE, Origin};
    Frame frame;
    picture::CropFrameController controller{host.Handle()};

    VisibleRig() {
        frame.SetBounds(24, 120, 153, 129);
        host.AddControl(frame);
        controller.AddControl(frame);
        SetForegroundWindow(host.Handle());
    }
    POINT Screen(int x, int y) const { return {Origin.x + x, Origin.y + y}; }
};

TEST(GrabHandle, HandlesArePaintedBlackAndStayOnTopOfTheirHostsPaint) {
    VisibleRig rig;
    // Repaint the whole host after the handles: it must not paint over them.
    RedrawWindow(rig.host.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    RedrawWindow(rig.host.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    GdiFlush();
    for (H which : kAllHandles) {
        const picture::GrabHandle& handle = rig.controller.HandleAt(which);
        for (POINT corner : {POINT{0, 0}, POINT{5, 5}, POINT{3, 2}}) {
            const POINT at = rig.Screen(handle.Left() + corner.x, handle.Top() + corner.y);
            EXPECT_EQ(ScreenPixel(at), 0u) << "handle " << static_cast<int>(which);
        }
    }
    // Beside a handle the host's own colour shows.
    EXPECT_EQ(ScreenPixel(rig.Screen(18 - 2, 114 - 2)), RgbOf(GetSysColor(COLOR_BTNFACE)));
}

TEST(GrabHandle, ARealDragKeepsTheMouseOnTheHandleAndHonoursARealShiftKey) {
    VisibleRig rig;
    const HWND corner = rig.controller.HandleAt(H::BottomRight).Handle();
    POINT at = rig.Screen(177 + 3, 249 + 3);
    SendMouse(MOUSEEVENTF_MOVE, at);
    ASSERT_TRUE(WaitUntil([&] { return CursorAt(at); }));
    ASSERT_EQ(WindowFromPoint(at), corner);

    SendMouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitUntil([&] { return GetCapture() == corner; }));
    // The first move already leaves the 6 x 6 handle behind; the drag goes on
    // because the handle holds the mouse.
    at = {at.x + 40, at.y + 30};
    SendMouse(MOUSEEVENTF_MOVE, at);
    EXPECT_TRUE(WaitUntil([&] { return rig.frame.Width() == 193; }));
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 193, 159));

    // With Shift down the moves are dropped; after it is let go, the next
    // move catches up with everything the cursor travelled.
    SendKey(VK_SHIFT, false);
    ASSERT_TRUE(WaitUntil([] { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }));
    at = {at.x + 10, at.y};
    SendMouse(MOUSEEVENTF_MOVE, at);
    ASSERT_TRUE(WaitUntil([&] { return CursorAt(at); }));
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 193, 159));
    SendKey(VK_SHIFT, true);
    ASSERT_TRUE(WaitUntil([] { return (GetKeyState(VK_SHIFT) & 0x8000) == 0; }));
    at = {at.x + 5, at.y};
    SendMouse(MOUSEEVENTF_MOVE, at);
    EXPECT_TRUE(WaitUntil([&] { return rig.frame.Width() == 208; }));

    SendMouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([] { return GetCapture() == nullptr; }));
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 208, 159));
    rig.controller.HandleAt(H::BottomRight).SetDragging(false); // whatever happened above, leave no drag behind
}

TEST(GrabHandle, LosingTheMouseEndsTheHandleDrag) {
    Rig rig;
    rig.PressHandle(H::TopLeft);
    // Another window takes the mouse (a menu, a task switch): the top-left
    // handle never sees its release.
    TestHost other{640, 480};
    SetCapture(other.Handle());
    ReleaseCapture();
    EXPECT_FALSE(rig.HandleAt(H::TopLeft).Dragging());

    // The next drag moves the handle the user holds, not the lost one.
    rig.DragHandle(H::Right, 10, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 163, 129));
}

TEST(GrabHandle, HandlesWithoutARegisteredControlMoveAlone) {
    Rig rig{false};
    rig.controller.PlaceHandles({10, 10, 50, 50});
    rig.controller.SetHandlesVisible(true);
    rig.DragHandle(H::BottomRight, 5, 5);
    EXPECT_EQ(rig.controller.CurrentIndex(), -1);
    EXPECT_EQ(rig.HandleAt(H::BottomRight).Left(), 55);
    EXPECT_EQ(rig.HandleAt(H::Bottom).Left(), 30 - 3 + 2);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 153, 129));
}

TEST(GrabHandle, ControlsNoLongerReachADestroyedController) {
    TestHost host{640, 480};
    Frame frame;
    frame.SetBounds(24, 120, 153, 129);
    host.AddControl(frame);
    HWND handle = nullptr;
    {
        picture::CropFrameController controller(host.Handle());
        ASSERT_TRUE(controller.AddControl(frame));
        handle = controller.HandleAt(H::Top).Handle();
        SetCursorPos(600, 500);
        host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 180);
    }
    EXPECT_FALSE(IsWindow(handle)) << "the handles go with the controller";
    // The body drag that was under way when the controller went is dead.
    SetCursorPos(620, 510);
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 120, 190);
    host.Send(WM_LBUTTONUP, 0, 120, 190);
    EXPECT_TRUE(BoundsAre(frame, 24, 120, 153, 129));
}
