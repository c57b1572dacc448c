#include "ui/Monitors.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace ui {

namespace {

long long Area(const RECT& r) {
    if (r.right <= r.left || r.bottom <= r.top) return 0;
    return static_cast<long long>(r.right - r.left) * (r.bottom - r.top);
}

long long DistanceSquared(const RECT& r, POINT p) {
    const long long dx = p.x < r.left ? r.left - p.x : (p.x >= r.right ? p.x - r.right + 1 : 0);
    const long long dy = p.y < r.top ? r.top - p.y : (p.y >= r.bottom ? p.y - r.bottom + 1 : 0);
    return dx * dx + dy * dy;
}

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM list) {
    MONITORINFO info{sizeof info};
    if (GetMonitorInfoW(handle, &info))
        reinterpret_cast<std::vector<Monitor>*>(list)->push_back(
            {info.rcMonitor, info.rcWork, (info.dwFlags & MONITORINFOF_PRIMARY) != 0});
    return TRUE;
}

// A restored window's rectangle in a WINDOWPLACEMENT is in workspace
// coordinates (relative to the primary monitor's work area) unless the
// window is a tool window; this is how far those lie from screen coordinates.
POINT WorkspaceOffset(HWND window, const std::vector<Monitor>& monitors) {
    if (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) return {0, 0};
    const Monitor& primary = PrimaryMonitor(monitors);
    return {primary.workArea.left - primary.bounds.left, primary.workArea.top - primary.bounds.top};
}

RECT Offset(RECT r, int dx, int dy) {
    OffsetRect(&r, dx, dy);
    return r;
}

// Moves the restored rectangle of a window onto a work area and keeps its
// show state; a maximized window is maximized again on the new monitor.
void SetRestoredRect(HWND window, const std::vector<Monitor>& monitors, const RECT& screenRect) {
    WINDOWPLACEMENT placement{sizeof placement};
    if (!GetWindowPlacement(window, &placement)) return;
    const POINT offset = WorkspaceOffset(window, monitors);
    placement.rcNormalPosition = Offset(screenRect, -offset.x, -offset.y);
    const bool visible = IsWindowVisible(window) != FALSE;
    if (!visible)
        placement.showCmd = SW_HIDE;
    else if (IsZoomed(window))
        placement.showCmd = SW_SHOWMAXIMIZED;
    else if (IsIconic(window))
        placement.showCmd = SW_SHOWMINIMIZED;
    else
        placement.showCmd = SW_SHOWNOACTIVATE;
    if (visible && IsZoomed(window)) {
        // A maximized window keeps its maximized rectangle through
        // SetWindowPlacement on some systems; restored first, it is
        // maximized afresh on the monitor of its new restored rectangle.
        placement.showCmd = SW_SHOWNOACTIVATE;
        SetWindowPlacement(window, &placement);
        ShowWindow(window, SW_SHOWMAXIMIZED);
        return;
    }
    SetWindowPlacement(window, &placement);
}

RECT RestoredRect(HWND window, const std::vector<Monitor>& monitors) {
    WINDOWPLACEMENT placement{sizeof placement};
    if (!GetWindowPlacement(window, &placement)) return {};
    const POINT offset = WorkspaceOffset(window, monitors);
    return Offset(placement.rcNormalPosition, offset.x, offset.y);
}

} // namespace

std::vector<Monitor> Monitors() {
    std::vector<Monitor> monitors;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&monitors));
    if (monitors.empty()) {
        const RECT screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        monitors.push_back({screen, screen, true});
    }
    return monitors;
}

RECT VirtualScreen(const std::vector<Monitor>& monitors) {
    RECT all = monitors.front().bounds;
    for (const Monitor& m : monitors)
        UnionRect(&all, &all, &m.bounds);
    return all;
}

RECT VirtualScreen() { return VirtualScreen(Monitors()); }

const Monitor& PrimaryMonitor(const std::vector<Monitor>& monitors) {
    for (const Monitor& m : monitors)
        if (m.primary) return m;
    return monitors.front();
}

const Monitor& MonitorAt(const std::vector<Monitor>& monitors, POINT point) {
    const Monitor* nearest = &monitors.front();
    long long best = LLONG_MAX;
    for (const Monitor& m : monitors) {
        const long long d = DistanceSquared(m.bounds, point);
        if (d < best) best = d, nearest = &m;
    }
    return *nearest;
}

const Monitor& MonitorOf(const std::vector<Monitor>& monitors, const RECT& area) {
    const Monitor* most = nullptr;
    long long best = 0;
    for (const Monitor& m : monitors) {
        RECT shared{};
        IntersectRect(&shared, &m.bounds, &area);
        if (Area(shared) > best) best = Area(shared), most = &m;
    }
    if (most) return *most;
    return MonitorAt(monitors, {area.left + (area.right - area.left) / 2, area.top + (area.bottom - area.top) / 2});
}

Monitor MonitorAt(POINT point) { return MonitorAt(Monitors(), point); }

Monitor MonitorOf(const RECT& area) { return MonitorOf(Monitors(), area); }

bool ReachableOnMonitors(const std::vector<Monitor>& monitors, const RECT& area, int minVisible) {
    const int needX = std::min<int>(minVisible, std::max<int>(1, area.right - area.left));
    const int needY = std::min<int>(minVisible, std::max<int>(1, area.bottom - area.top));
    for (const Monitor& m : monitors) {
        RECT shared{};
        if (IntersectRect(&shared, &m.bounds, &area) && shared.right - shared.left >= needX &&
            shared.bottom - shared.top >= needY)
            return true;
    }
    return false;
}

RECT FitInto(const RECT& rect, const RECT& area) {
    const int width = std::min(rect.right - rect.left, area.right - area.left);
    const int height = std::min(rect.bottom - rect.top, area.bottom - area.top);
    const POINT at = KeepInside({rect.left, rect.top}, width, height, area);
    return {at.x, at.y, at.x + width, at.y + height};
}

POINT KeepInside(POINT topLeft, int width, int height, const RECT& area) {
    POINT at = topLeft;
    if (at.x + width > area.right) at.x = area.right - width;
    if (at.y + height > area.bottom) at.y = area.bottom - height;
    if (at.x < area.left) at.x = area.left;
    if (at.y < area.top) at.y = area.top;
    return at;
}

bool BringOntoMonitors(HWND window) {
    const std::vector<Monitor> monitors = Monitors();
    // A maximized or minimized window is judged by where it comes back to.
    const RECT restored = RestoredRect(window, monitors);
    RECT shown{};
    GetWindowRect(window, &shown);
    const bool restoredReachable = ReachableOnMonitors(monitors, restored);
    const bool shownReachable = IsIconic(window) || !IsWindowVisible(window) || ReachableOnMonitors(monitors, shown);
    if (restoredReachable && shownReachable) return false;
    SetRestoredRect(window, monitors, FitInto(restored, MonitorOf(monitors, restored).workArea));
    return true;
}

bool FitOntoMonitor(HWND window) {
    RECT shown{};
    if (!GetWindowRect(window, &shown)) return false;
    const RECT fitted = FitInto(shown, MonitorOf(shown).workArea);
    if (EqualRect(&fitted, &shown)) return false;
    SetWindowPos(window, nullptr, fitted.left, fitted.top, fitted.right - fitted.left, fitted.bottom - fitted.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}

void PlaceOnMonitorOf(HWND window, const RECT& screenArea) {
    const std::vector<Monitor> monitors = Monitors();
    const Monitor& target = MonitorOf(monitors, screenArea);
    const RECT restored = RestoredRect(window, monitors);
    RECT shown{};
    GetWindowRect(window, &shown);
    RECT shared{};
    // Already there: nothing moves, so a window the user placed stays put.
    if (IntersectRect(&shared, &restored, &target.workArea) && EqualRect(&shared, &restored) &&
        (!IsZoomed(window) || &MonitorOf(monitors, shown) == &target))
        return;
    const int width = restored.right - restored.left, height = restored.bottom - restored.top;
    const RECT at{target.workArea.left, target.workArea.top, target.workArea.left + width,
                  target.workArea.top + height};
    SetRestoredRect(window, monitors, FitInto(at, target.workArea));
}

int BringThreadWindowsOntoMonitors() {
    std::vector<HWND> windows;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    int moved = 0;
    for (HWND window : windows) {
        RECT r{};
        // Windows without an area (owners that only hold others) are nowhere to see.
        if (!GetWindowRect(window, &r) || IsRectEmpty(&r)) continue;
        moved += BringOntoMonitors(window) ? 1 : 0;
    }
    return moved;
}

namespace {

std::vector<RECT> LayoutOf(const std::vector<Monitor>& monitors) {
    std::vector<RECT> layout;
    for (const Monitor& m : monitors)
        layout.push_back(m.bounds);
    return layout;
}

bool SameLayout(const std::vector<RECT>& a, const std::vector<RECT>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const RECT& x, const RECT& y) { return EqualRect(&x, &y) != FALSE; });
}

} // namespace

namespace {

// The watch of each thread, for the windows that are shown on it.
thread_local MonitorWatch* t_monitorWatch = nullptr;

bool ThreadShowsAWindow() {
    bool shown = false;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            if (!IsWindowVisible(window)) return TRUE;
            *reinterpret_cast<bool*>(found) = true;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&shown));
    return shown;
}

} // namespace

MonitorWatch::MonitorWatch() : layout_(LayoutOf(Monitors())) {
    t_monitorWatch = this;
    checkTimer_.OnTimer = [this] { Check(); };
}

MonitorWatch::~MonitorWatch() {
    if (t_monitorWatch == this) t_monitorWatch = nullptr;
}

void MonitorWatch::Check() {
    std::vector<RECT> layout = LayoutOf(Monitors());
    if (!SameLayout(layout, layout_)) {
        layout_ = std::move(layout);
        BringThreadWindowsOntoMonitors();
    }
    checkTimer_.SetEnabled(ThreadShowsAWindow());
}

void MonitorWatch::OnWindowShown(HWND window) {
    // The layout seen last may be older than a monitor that came and went
    // while nothing watched, so the window itself is looked at first.
    BringOntoMonitors(window);
    if (t_monitorWatch) t_monitorWatch->Check();
}

} // namespace ui
