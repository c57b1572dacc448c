// A real host window with one frame control registered with a crop frame
// controller, and helpers that drive it with real mouse messages. The
// controller reads the cursor itself, so every message is preceded by putting
// the cursor where the user's mouse would be.
#pragma once

#include "picture/CropFrameController.h"
#include "tests/support/Input.h"
#include "tests/support/Windows.h"
#include "tests/support/Wait.h"
#include "tests/unit/TestForm.h"

#include <gtest/gtest.h>

#include <array>

namespace croptest {

using TestHost = testing_support::TestForm;

// The crop frame as the picture window draws it: an outline.
class Frame : public ui::Control {
public:
    void Paint(HDC dc) override {
        HBRUSH purple = CreateSolidBrush(RGB(128, 0, 128));
        const RECT r{0, 0, Width(), Height()};
        FrameRect(dc, &r, purple);
        DeleteObject(purple);
    }
};

using H = picture::CropFrameController::Handle;
constexpr std::array<H, picture::CropFrameController::kHandleCount> kAllHandles{
    H::TopLeft, H::BottomLeft, H::TopRight, H::BottomRight, H::Left, H::Top, H::Right, H::Bottom};

// Where the handle table puts each handle around a control's bounds.
inline POINT ExpectedPlace(H which, const RECT& r) {
    const int midX = (r.left + r.right) / 2 - 3, midY = (r.top + r.bottom) / 2 - 3;
    switch (which) {
    case H::TopLeft:
        return {r.left - 6, r.top - 6};
    case H::BottomLeft:
        return {r.left - 6, r.bottom};
    case H::TopRight:
        return {r.right, r.top - 6};
    case H::BottomRight:
        return {r.right, r.bottom};
    case H::Left:
        return {r.left - 6, midY};
    case H::Top:
        return {midX, r.top - 6};
    case H::Right:
        return {r.right, midY};
    case H::Bottom:
        break;
    }
    return {midX, r.bottom};
}

// The handle's real window position in its parent's client area.
inline POINT WindowPlace(const picture::GrabHandle& handle) {
    RECT r = support::WindowRectOf(handle.Handle());
    MapWindowPoints(nullptr, GetParent(handle.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top};
}

inline bool HasVisibleStyle(const picture::GrabHandle& handle) {
    return (GetWindowLongPtrW(handle.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

struct Rig {
    // The screen point where every drag starts; well inside the 1280 x 1024
    // desktop, so that the cursor is never clipped at its edge.
    static constexpr POINT Start{600, 500};

    TestHost host{640, 480};
    Frame frame;
    picture::CropFrameController controller{host.Handle()};
    POINT cursor = Start;

    // The frame is one of the controller's controls unless asked otherwise.
    explicit Rig(bool frameRegistered = true) {
        frame.SetBounds(24, 120, 153, 129);
        host.AddControl(frame);
        if (frameRegistered) controller.AddControl(frame);
    }

    picture::GrabHandle& HandleAt(H which) const { return controller.HandleAt(which); }

    // The controller reads the cursor itself: it must be there, not still
    // where a late position from the X server of an earlier move put it.
    void Cursor(POINT at) {
        cursor = at;
        SetCursorPos(at.x, at.y);
        support::WaitUntil([&] { return support::CursorAt(at); });
    }

    // A message to the frame's host at a point inside the frame.
    void SendToBody(UINT message, WPARAM keys) {
        const LPARAM inside = MAKELPARAM(frame.Left() + frame.Width() / 2, frame.Top() + frame.Height() / 2);
        SendMessageW(host.Handle(), message, keys, inside);
    }
    void SendToHandle(H which, UINT message, WPARAM keys) {
        SendMessageW(HandleAt(which).Handle(), message, keys, MAKELPARAM(3, 3));
    }

    void PressBody(UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        Cursor(Start);
        SendToBody(message, keys);
    }
    // Moves the cursor by (dx, dy) and reports the move to the frame.
    void MoveBody(int dx, int dy, WPARAM keys = MK_LBUTTON) {
        Cursor({cursor.x + dx, cursor.y + dy});
        SendToBody(WM_MOUSEMOVE, keys);
    }

    void PressHandle(H which, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        Cursor(Start);
        SendToHandle(which, message, keys);
    }
    void MoveHandle(H which, int dx, int dy, WPARAM keys = MK_LBUTTON) {
        Cursor({cursor.x + dx, cursor.y + dy});
        SendToHandle(which, WM_MOUSEMOVE, keys);
    }
    void DragHandle(H which, int dx, int dy) {
        PressHandle(which);
        MoveHandle(which, dx, dy);
        SendToHandle(which, WM_LBUTTONUP, 0);
    }

    // Every handle sits where the table puts it around the frame's bounds,
    // both by its own numbers and by its real window position.
    void ExpectHandlesAroundFrame() const {
        for (H which : kAllHandles) {
            const POINT expected = ExpectedPlace(which, frame.Bounds());
            const picture::GrabHandle& handle = HandleAt(which);
            EXPECT_EQ(handle.Left(), expected.x) << "handle " << static_cast<int>(which);
            EXPECT_EQ(handle.Top(), expected.y) << "handle " << static_cast<int>(which);
            EXPECT_TRUE(WindowPlace(handle) == expected) << "window of handle " << static_cast<int>(which);
        }
    }
};

inline ::testing::AssertionResult BoundsAre(const ui::Control& c, int left, int top, int width, int height) {
    if (c.Left() == left && c.Top() == top && c.Width() == width && c.Height() == height)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "bounds are " << c.Left() << ", " << c.Top() << ", " << c.Width() << " x "
                                         << c.Height() << "; expected " << left << ", " << top << ", " << width << " x "
                                         << height;
}

} // namespace croptest
