// A real host window with one frame control registered with a crop frame
// controller, and helpers that drive it with real mouse messages. The
// controller reads the cursor itself, so every message is preceded by putting
// the cursor where the user's mouse would be.
#pragma once

#include "picture/CropFrameController.h"
#include "ui/HostWindow.h"

#include <gtest/gtest.h>

#include <array>

namespace dragtest {

class TestHost : public ui::HostWindow {
public:
    explicit TestHost(DWORD style = WS_POPUP, int x = 0, int y = 0, int width = 640, int height = 480) {
        CreateHost(L"SnaporaDragTestHost",
                   {.caption = L"drag", .style = style, .x = x, .y = y, .width = width, .height = height});
    }
};

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

using P = TDragClass::Point;
constexpr std::array<P, 8> AllPoints{P::TopLeft, P::BottomLeft, P::TopRight, P::BottomRight,
                                     P::Left,    P::Top,        P::Right,    P::Bottom};

// Where the handle table puts each handle around a control's bounds.
inline POINT ExpectedPlace(P which, const RECT& r) {
    const int midX = (r.left + r.right) / 2 - 3, midY = (r.top + r.bottom) / 2 - 3;
    switch (which) {
    case P::TopLeft:
        return {r.left - 6, r.top - 6};
    case P::BottomLeft:
        return {r.left - 6, r.bottom};
    case P::TopRight:
        return {r.right, r.top - 6};
    case P::BottomRight:
        return {r.right, r.bottom};
    case P::Left:
        return {r.left - 6, midY};
    case P::Top:
        return {midX, r.top - 6};
    case P::Right:
        return {r.right, midY};
    case P::Bottom:
        break;
    }
    return {midX, r.bottom};
}

// The handle's real window position in its parent's client area.
inline POINT WindowPlace(const TDragPoint& point) {
    RECT r{};
    GetWindowRect(point.Handle(), &r);
    MapWindowPoints(nullptr, GetParent(point.Handle()), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top};
}

inline bool HasVisibleStyle(const TDragPoint& point) {
    return (GetWindowLongPtrW(point.Handle(), GWL_STYLE) & WS_VISIBLE) != 0;
}

inline bool operator==(const POINT& a, const POINT& b) { return a.x == b.x && a.y == b.y; }

struct Rig {
    // The screen point where every drag starts; well inside the 1280 x 1024
    // desktop, so that the cursor is never clipped at its edge.
    static constexpr POINT Start{600, 500};

    TestHost host;
    Frame frame;
    TDragClass drag{host.Handle()};
    POINT cursor = Start;

    Rig() {
        frame.SetBounds(24, 120, 153, 129);
        host.AddControl(frame);
    }

    TDragPoint& Pt(P which) const { return drag.GetPoint(which); }

    void Cursor(POINT at) {
        cursor = at;
        SetCursorPos(at.x, at.y);
    }

    // A message to the frame's host at a point inside the frame.
    void Body(UINT message, WPARAM keys) {
        const LPARAM inside = MAKELPARAM(frame.Left() + frame.Width() / 2, frame.Top() + frame.Height() / 2);
        SendMessageW(host.Handle(), message, keys, inside);
    }
    void Handle(P which, UINT message, WPARAM keys) {
        SendMessageW(Pt(which).Handle(), message, keys, MAKELPARAM(3, 3));
    }

    void PressBody(UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        Cursor(Start);
        Body(message, keys);
    }
    // Moves the cursor by (dx, dy) and reports the move to the frame.
    void MoveBody(int dx, int dy, WPARAM keys = MK_LBUTTON) {
        Cursor({cursor.x + dx, cursor.y + dy});
        Body(WM_MOUSEMOVE, keys);
    }

    void PressHandle(P which, UINT message = WM_LBUTTONDOWN, WPARAM keys = MK_LBUTTON) {
        Cursor(Start);
        Handle(which, message, keys);
    }
    void MoveHandle(P which, int dx, int dy, WPARAM keys = MK_LBUTTON) {
        Cursor({cursor.x + dx, cursor.y + dy});
        Handle(which, WM_MOUSEMOVE, keys);
    }
    void DragHandle(P which, int dx, int dy) {
        PressHandle(which);
        MoveHandle(which, dx, dy);
        Handle(which, WM_LBUTTONUP, 0);
    }

    // Every handle sits where the table puts it around the frame's bounds,
    // both by its own numbers and by its real window position.
    void ExpectHandlesAroundFrame() const {
        for (P which : AllPoints) {
            const POINT expected = ExpectedPlace(which, frame.Bounds());
            const TDragPoint& point = Pt(which);
            EXPECT_EQ(point.Left(), expected.x) << "handle " << static_cast<int>(which);
            EXPECT_EQ(point.Top(), expected.y) << "handle " << static_cast<int>(which);
            EXPECT_TRUE(WindowPlace(point) == expected) << "window of handle " << static_cast<int>(which);
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

} // namespace dragtest
