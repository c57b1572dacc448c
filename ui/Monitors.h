// The monitors of the desktop and keeping windows on them. Every rectangle is
// in screen coordinates: the primary monitor's top-left corner is (0, 0), and
// a monitor left of or above it lies at negative coordinates.
#pragma once

#include "ui/Timer.h"

#include <windows.h>

#include <vector>

namespace ui {

struct Monitor {
    RECT bounds{};
    // The part of bounds that the taskbar and docked bars leave free.
    RECT workArea{};
    bool primary = false;
};

// The monitors as the system reports them now; never empty (a system that
// reports none is taken to have one of the primary screen's size at (0, 0)).
std::vector<Monitor> Monitors();

// The smallest rectangle that holds every monitor: the virtual screen.
RECT VirtualScreen(const std::vector<Monitor>& monitors);
RECT VirtualScreen();

// The primary monitor (the first one when none says it is primary).
const Monitor& PrimaryMonitor(const std::vector<Monitor>& monitors);

// The monitor that holds the point, or else the one nearest to it.
const Monitor& MonitorAt(const std::vector<Monitor>& monitors, POINT point);

// The monitor that shares the most area with the rectangle, or else the one
// nearest to its centre.
const Monitor& MonitorOf(const std::vector<Monitor>& monitors, const RECT& area);

// The same for the monitors of the system now.
Monitor MonitorAt(POINT point);
Monitor MonitorOf(const RECT& area);

// True when the rectangle shares at least a square of minVisible pixels on
// a side with some monitor (or the whole of it when it is smaller).
bool ReachableOnMonitors(const std::vector<Monitor>& monitors, const RECT& area, int minVisible = 40);

// The rectangle moved, and shrunk where it is larger, so that it lies wholly
// inside area.
RECT FitInto(const RECT& rect, const RECT& area);

// A point that is the top-left corner of a width x height box kept inside
// area (a box larger than area keeps its top-left corner on area's).
POINT KeepInside(POINT topLeft, int width, int height, const RECT& area);

// Brings a top-level window that no monitor reaches any more onto the work
// area of the monitor nearest to it, keeping its size where it fits and its
// show state (a maximized window is maximized there). A window that a
// monitor reaches stays where it is. Gives true when it moved the window.
bool BringOntoMonitors(HWND window);

// Moves (and shrinks, where it is larger) a shown, restored top-level
// window that does not lie wholly inside the work area of the monitor that
// holds most of it, so that it does. Gives true when it moved the window.
bool FitOntoMonitor(HWND window);

// Places a top-level window's restored rectangle on the work area of the
// monitor that holds the most of screenArea, keeping the rectangle's size
// where it fits, and keeping the window's show state: a window shown
// maximized afterwards is maximized on that monitor.
void PlaceOnMonitorOf(HWND window, const RECT& screenArea);

// Brings every top-level window of the calling thread that no monitor
// reaches onto the monitors (BringOntoMonitors); gives how many it moved.
int BringThreadWindowsOntoMonitors();

// Watches the layout of the monitors and, when it changes (a monitor
// removed, added or moved), brings the thread's windows that were left on
// no monitor back. Windows says so with WM_DISPLAYCHANGE, which every
// ui::Window answers the same way; Wine under X.Org does not send it when a
// monitor goes, so the layout is also compared once a second, but only
// while a window of the thread is shown: a program that waits in the tray
// is not woken for nothing. A window that is shown (every ui::Window says
// so) is brought onto the monitors at once, so one left on a monitor that
// went while it was hidden comes back as it appears. One watch per thread.
class MonitorWatch {
public:
    MonitorWatch();
    ~MonitorWatch();
    MonitorWatch(const MonitorWatch&) = delete;
    MonitorWatch& operator=(const MonitorWatch&) = delete;

    // Compares the layout with the one seen last and acts on a change.
    void Check();
    // Whether the layout is compared once a second now.
    bool Watching() const { return checkTimer_.Enabled(); }
    // A top-level window of the calling thread was just shown: it comes onto
    // the monitors if none reaches it, and the thread's watch, if it has
    // one, checks and watches again.
    static void OnWindowShown(HWND window);

private:
    std::vector<RECT> layout_;
    Timer checkTimer_{1000, true};
};

} // namespace ui
