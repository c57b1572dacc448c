#include "CropTestRig.h"

using namespace croptest;

TEST(CropFrameController, AddControlPlacesTheHandlesAroundTheControlAndApplyBoundsGivesThemBack) {
    Rig rig{false};
    for (H which : kAllHandles)
        EXPECT_FALSE(HasVisibleStyle(rig.HandleAt(which))) << "hidden after construction";

    ASSERT_TRUE(rig.controller.AddControl(rig.frame));
    EXPECT_EQ(rig.controller.CurrentIndex(), 0);
    const POINT expected[] = {{18, 114}, {18, 249}, {177, 114}, {177, 249},
                              {18, 181}, {97, 114}, {177, 181}, {97, 249}};
    for (H which : kAllHandles) {
        const picture::GrabHandle& handle = rig.HandleAt(which);
        const POINT want = expected[static_cast<int>(which)];
        EXPECT_TRUE(WindowPlace(handle) == want) << "handle " << static_cast<int>(which);
        EXPECT_EQ(GetParent(handle.Handle()), rig.host.Handle());
        EXPECT_TRUE(HasVisibleStyle(handle));
        RECT r{};
        GetClientRect(handle.Handle(), &r);
        EXPECT_EQ(r.right, 6);
        EXPECT_EQ(r.bottom, 6);
    }
    EXPECT_EQ(rig.frame.Cursor, LoadCursorW(nullptr, IDC_SIZEALL));
    EXPECT_EQ(rig.HandleAt(H::TopLeft).Cursor(), LoadCursorW(nullptr, IDC_SIZENWSE));
    EXPECT_EQ(rig.HandleAt(H::BottomLeft).Cursor(), LoadCursorW(nullptr, IDC_SIZENESW));
    EXPECT_EQ(rig.HandleAt(H::Right).Cursor(), LoadCursorW(nullptr, IDC_SIZEWE));
    EXPECT_EQ(rig.HandleAt(H::Bottom).Cursor(), LoadCursorW(nullptr, IDC_SIZENS));
    // The host must not paint over its child windows, the handles.
    EXPECT_TRUE(GetWindowLongPtrW(rig.host.Handle(), GWL_STYLE) & WS_CLIPCHILDREN);

    // Spoil the frame's bounds behind the controller's back: a handle step
    // that moves nothing gives the bounds the handles describe.
    rig.frame.SetBounds(0, 0, 10, 10);
    rig.DragHandle(H::BottomRight, 0, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 153, 129));
}

TEST(CropFrameController, RegistrationRefusesDuplicatesAndOrphansAndSelectionFollowsPresses) {
    Rig rig{false};
    Frame orphan;
    EXPECT_FALSE(rig.controller.AddControl(orphan));
    EXPECT_TRUE(rig.controller.Controls().empty());
    EXPECT_EQ(rig.controller.CurrentIndex(), -1);

    Frame second;
    second.SetBounds(300, 50, 40, 30);
    rig.host.AddControl(second);
    EXPECT_TRUE(rig.controller.AddControl(rig.frame));
    EXPECT_TRUE(rig.controller.AddControl(second));
    EXPECT_FALSE(rig.controller.AddControl(rig.frame));
    EXPECT_EQ(rig.controller.Controls().size(), 2u);
    EXPECT_EQ(rig.controller.CurrentIndex(), 1);

    rig.controller.SelectControl(rig.frame);
    EXPECT_EQ(rig.controller.CurrentIndex(), 0);
    rig.controller.SelectControl(orphan);
    EXPECT_EQ(rig.controller.CurrentIndex(), 0);

    // A press on the second control makes it current and brings the handles
    // to it; a handle drag then resizes it and leaves the first alone.
    rig.host.Send(WM_RBUTTONDOWN, MK_RBUTTON, 310, 60);
    rig.host.Send(WM_RBUTTONUP, 0, 310, 60);
    EXPECT_EQ(rig.controller.CurrentIndex(), 1);
    EXPECT_TRUE(rig.HandleAt(H::TopLeft).Left() == 294 && rig.HandleAt(H::TopLeft).Top() == 44);
    rig.DragHandle(H::Right, 10, 0);
    EXPECT_TRUE(BoundsAre(second, 300, 50, 50, 30));
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 153, 129));
}

TEST(CropFrameController, StepSizeIsKeptWithinFiveToTwenty) {
    Rig rig{false};
    EXPECT_EQ(rig.controller.StepSize(), 5);
    EXPECT_FALSE(rig.controller.StepMode());
    const std::pair<int, int> cases[] = {{4, 5}, {25, 20}, {12, 12}, {5, 5}, {20, 20}, {-100, 5}, {21, 20}};
    for (auto [given, kept] : cases) {
        rig.controller.SetStepSize(given);
        EXPECT_EQ(rig.controller.StepSize(), kept) << "SetStepSize(" << given << ")";
    }
}

TEST(CropFrameController, WithoutStepModeEveryMoveFollowsTheCursorExactly) {
    Rig rig;
    rig.PressBody();
    rig.MoveBody(3, -2);
    EXPECT_TRUE(BoundsAre(rig.frame, 27, 118, 153, 129));
    rig.MoveBody(-1, 7);
    EXPECT_TRUE(BoundsAre(rig.frame, 26, 125, 153, 129));
    rig.ExpectHandlesAroundFrame();
    rig.SendToBody(WM_LBUTTONUP, 0);

    // After the release, moves with the left button down (from a press
    // elsewhere) no longer drag the frame.
    rig.MoveBody(10, 10);
    EXPECT_TRUE(BoundsAre(rig.frame, 26, 125, 153, 129));

    rig.PressHandle(H::BottomRight);
    rig.MoveHandle(H::BottomRight, 1, 1);
    EXPECT_TRUE(BoundsAre(rig.frame, 26, 125, 154, 130));
    rig.MoveHandle(H::BottomRight, -4, 2);
    EXPECT_TRUE(BoundsAre(rig.frame, 26, 125, 150, 132));
}

TEST(CropFrameController, StepModeMovesACornerOnEveryFifthPixelOrAtOnceOnALargeMove) {
    Rig rig;
    rig.controller.SetStepMode(true);
    rig.controller.SetStepSize(4);

    rig.PressHandle(H::BottomRight);
    const int startX = rig.HandleAt(H::BottomRight).Left(), startY = rig.HandleAt(H::BottomRight).Top();
    for (int event = 1; event <= 10; ++event) {
        rig.MoveHandle(H::BottomRight, 1, 1);
        const int moved = event / 5 * 5;
        EXPECT_EQ(rig.HandleAt(H::BottomRight).Left(), startX + moved) << "event " << event;
        EXPECT_EQ(rig.HandleAt(H::BottomRight).Top(), startY + moved) << "event " << event;
    }
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 163, 139));
    rig.MoveHandle(H::BottomRight, 7, -7);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 170, 132));
    rig.ExpectHandlesAroundFrame();
    rig.SendToHandle(H::BottomRight, WM_LBUTTONUP, 0);

    // An edge handle moves along its own axis only.
    rig.PressHandle(H::Top);
    rig.MoveHandle(H::Top, 9, -6);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 114, 170, 138));
    rig.ExpectHandlesAroundFrame();
}

TEST(CropFrameController, StepModeMovesTheBodyAfterFivePixelsAcrossButSixDown) {
    Rig rig;
    rig.controller.SetStepMode(true);
    rig.PressBody();
    for (int event = 1; event <= 4; ++event)
        rig.MoveBody(1, 0);
    EXPECT_EQ(rig.frame.Left(), 24);
    rig.MoveBody(1, 0);
    EXPECT_EQ(rig.frame.Left(), 29);

    for (int event = 1; event <= 5; ++event)
        rig.MoveBody(0, 1);
    EXPECT_EQ(rig.frame.Top(), 120) << "a vertical total equal to the step waits";
    rig.MoveBody(0, 1);
    EXPECT_EQ(rig.frame.Top(), 126);
    EXPECT_TRUE(BoundsAre(rig.frame, 29, 126, 153, 129));
    rig.ExpectHandlesAroundFrame();

    // The remainder of a drag is forgotten at the next press.
    rig.MoveBody(3, 0);
    rig.SendToBody(WM_LBUTTONUP, 0);
    rig.PressBody();
    rig.MoveBody(3, 0);
    EXPECT_EQ(rig.frame.Left(), 29);
}

TEST(CropFrameController, EveryMoverKeepsTheOtherHandlesOnTheCornersAndEdgeMidpoints) {
    struct Case {
        H which;
        int dl, dt, dr, db; // how the frame's edges follow a move of (13, -9)
    };
    const Case cases[] = {
        {H::TopLeft, 13, -9, 0, 0},     {H::BottomLeft, 13, 0, 0, -9}, {H::TopRight, 0, -9, 13, 0},
        {H::BottomRight, 0, 0, 13, -9}, {H::Left, 13, 0, 0, 0},        {H::Top, 0, -9, 0, 0},
        {H::Right, 0, 0, 13, 0},        {H::Bottom, 0, 0, 0, -9},
    };
    // One rig for all, so each mover starts from the shape the previous ones left.
    Rig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which));
        const RECT before = rig.frame.Bounds();
        rig.DragHandle(c.which, 13, -9);
        const RECT after = rig.frame.Bounds();
        EXPECT_EQ(after.left, before.left + c.dl);
        EXPECT_EQ(after.top, before.top + c.dt);
        EXPECT_EQ(after.right, before.right + c.dr);
        EXPECT_EQ(after.bottom, before.bottom + c.db);
        rig.ExpectHandlesAroundFrame();
    }
}

TEST(CropFrameController, AnEdgeHandleMovesNoHandleAcrossItsOwnAxis) {
    // A frame pushed past the window's top-left corner: there, re-centring a
    // midpoint handle from the corner handles rounds one pixel away from where
    // the placement put it, so a handle that is needlessly re-centred jumps.
    struct Case {
        H which;
        bool horizontal;
        int width, height; // after a drag of (8, 8)
    };
    const Case cases[] = {
        {H::Left, true, 37, 25}, {H::Right, true, 53, 25}, {H::Top, false, 45, 17}, {H::Bottom, false, 45, 33}};
    Rig rig;
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.which));
        rig.frame.SetBounds(-20, -10, 45, 25);
        rig.controller.PlaceHandles(rig.frame.Bounds());
        std::array<POINT, picture::CropFrameController::kHandleCount> before{};
        for (H which : kAllHandles)
            before[static_cast<int>(which)] = {rig.HandleAt(which).Left(), rig.HandleAt(which).Top()};

        rig.DragHandle(c.which, 8, 8);
        EXPECT_EQ(rig.frame.Width(), c.width);
        EXPECT_EQ(rig.frame.Height(), c.height);
        for (H which : kAllHandles) {
            const picture::GrabHandle& handle = rig.HandleAt(which);
            const POINT was = before[static_cast<int>(which)];
            if (c.horizontal)
                EXPECT_EQ(handle.Top(), was.y) << "handle " << static_cast<int>(which);
            else
                EXPECT_EQ(handle.Left(), was.x) << "handle " << static_cast<int>(which);
        }
    }
}

TEST(CropFrameController, ModifiersStopTheDragAndTheNextCleanMoveCatchesUp) {
    Rig rig;
    const WPARAM unclean[] = {MK_LBUTTON | MK_SHIFT, MK_LBUTTON | MK_CONTROL, MK_LBUTTON | MK_RBUTTON,
                              MK_LBUTTON | MK_MBUTTON, 0};

    rig.PressBody();
    for (WPARAM keys : unclean)
        rig.MoveBody(4, 3, keys);
    EXPECT_TRUE(BoundsAre(rig.frame, 24, 120, 153, 129));
    rig.MoveBody(1, 1);
    EXPECT_TRUE(BoundsAre(rig.frame, 24 + 21, 120 + 16, 153, 129));
    rig.SendToBody(WM_LBUTTONUP, 0);

    rig.PressHandle(H::Left);
    for (WPARAM keys : unclean)
        rig.MoveHandle(H::Left, -2, 5, keys);
    EXPECT_TRUE(BoundsAre(rig.frame, 45, 136, 153, 129));
    rig.MoveHandle(H::Left, -1, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 45 - 11, 136, 153 + 11, 129));
    rig.ExpectHandlesAroundFrame();
}

TEST(CropFrameController, OtherButtonsShowTheHandlesOrEndABodyDragButNeverAHandleDrag) {
    Rig rig;
    rig.controller.SetHandlesVisible(false);
    rig.frame.SetBounds(40, 60, 100, 80);

    // A right press brings the handles to the frame but starts no drag.
    rig.PressBody(WM_RBUTTONDOWN, MK_RBUTTON);
    for (H which : kAllHandles)
        EXPECT_TRUE(HasVisibleStyle(rig.HandleAt(which)));
    rig.ExpectHandlesAroundFrame();
    rig.MoveBody(5, 5);
    rig.SendToBody(WM_RBUTTONUP, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 40, 60, 100, 80));

    // A right press and release in the middle of a body drag end it.
    rig.PressBody();
    rig.MoveBody(2, 0);
    rig.SendToBody(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON);
    rig.SendToBody(WM_RBUTTONUP, MK_LBUTTON);
    rig.MoveBody(7, 7);
    EXPECT_TRUE(BoundsAre(rig.frame, 42, 60, 100, 80));
    rig.SendToBody(WM_LBUTTONUP, 0);

    // During a handle drag, presses and releases of other buttons change
    // nothing; they reach the dragged handle, which holds the mouse.
    rig.PressHandle(H::TopLeft);
    rig.SendToHandle(H::TopLeft, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON);
    rig.SendToHandle(H::TopLeft, WM_RBUTTONUP, MK_LBUTTON);
    rig.SendToHandle(H::TopLeft, WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON);
    rig.SendToHandle(H::TopLeft, WM_MBUTTONUP, MK_LBUTTON);
    EXPECT_EQ(GetCapture(), rig.HandleAt(H::TopLeft).Handle())
        << "the handle keeps the mouse while the left button is down";
    rig.MoveHandle(H::TopLeft, -4, -6);
    EXPECT_TRUE(BoundsAre(rig.frame, 38, 54, 104, 86));
    rig.SendToHandle(H::TopLeft, WM_LBUTTONUP, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    rig.MoveHandle(H::TopLeft, -4, -6);
    EXPECT_TRUE(BoundsAre(rig.frame, 38, 54, 104, 86));
}

TEST(CropFrameController, ALeftHandlePastTheRightEdgeLeavesANegativeWidthWithoutHarm) {
    Rig rig;
    rig.PressHandle(H::Left);
    rig.MoveHandle(H::Left, 153, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 177, 120, 0, 129));
    rig.MoveHandle(H::Left, 40, 0);
    EXPECT_TRUE(BoundsAre(rig.frame, 217, 120, -40, 129));
    rig.SendToHandle(H::Left, WM_LBUTTONUP, 0);
    UpdateWindow(rig.host.Handle());
    // The controller does not normalise: the handles stay where the corners say.
    EXPECT_EQ(rig.HandleAt(H::TopLeft).Left(), 211);
    EXPECT_EQ(rig.HandleAt(H::TopRight).Left(), 177);
}
