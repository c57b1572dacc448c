#include "tests/unit/TestForm.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Recorder : ui::Control {
    explicit Recorder(std::string name) : name(std::move(name)) {
        OnMouseDown = [this](ui::Control&, ui::MouseButton, ui::ShiftState, POINT at) {
            log += "down(" + Pos(at) + ")";
        };
        OnMouseMove = [this](ui::Control&, ui::ShiftState, POINT at) { log += "move(" + Pos(at) + ")"; };
        OnMouseUp = [this](ui::Control&, ui::MouseButton, ui::ShiftState, POINT at) { log += "up(" + Pos(at) + ")"; };
        OnMouseEnter = [this](ui::Control&) { log += "enter "; };
        OnMouseLeave = [this](ui::Control&) { log += "leave "; };
    }
    static std::string Pos(POINT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
    std::string name;
    std::string log;
};

} // namespace

TEST(HostWindow, RoutesToTheTopmostControlAndKeepsThePressedOneUntilRelease) {
    testing_support::TestForm host(200, 100);
    Recorder below("below"), above("above");
    below.SetBounds(10, 10, 50, 50);
    above.SetBounds(40, 10, 50, 50);
    host.AddControl(below);
    host.AddControl(above);

    // The overlap belongs to the control added last.
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 45, 20);
    EXPECT_EQ(above.log, "enter down(5,10)");
    EXPECT_EQ(below.log, "");

    // Dragging off over the other control still reports to the pressed one.
    host.Send(WM_MOUSEMOVE, MK_LBUTTON, 15, 20);
    host.Send(WM_LBUTTONUP, 0, 15, 20);
    EXPECT_EQ(above.log, "enter down(5,10)leave move(-25,10)up(-25,10)");
    EXPECT_EQ(below.log, "");

    // Free moves go to whatever is under the mouse, with enter and leave.
    above.log.clear();
    host.Send(WM_MOUSEMOVE, 0, 15, 20);
    host.Send(WM_MOUSEMOVE, 0, 85, 20);
    EXPECT_EQ(below.log, "enter move(5,10)leave ");
    EXPECT_EQ(above.log, "enter move(45,10)");

    // Bringing a control to the front changes who owns the overlap; hidden
    // controls take nothing.
    below.BringToFront();
    EXPECT_EQ(host.ControlAt({45, 20}), &below);
    below.SetVisible(false);
    EXPECT_EQ(host.ControlAt({45, 20}), &above);
    EXPECT_EQ(host.ControlAt({195, 95}), nullptr);
}

TEST(HostWindow, ControlsLeaveTheirHostWhenDestroyed) {
    testing_support::TestForm host(200, 100);
    {
        Recorder temporary("temporary");
        temporary.SetBounds(0, 0, 10, 10);
        host.AddControl(temporary);
        EXPECT_EQ(host.Controls().size(), 1u);
    }
    EXPECT_TRUE(host.Controls().empty());
    host.Send(WM_LBUTTONDOWN, MK_LBUTTON, 5, 5); // must not reach a dead control
}
