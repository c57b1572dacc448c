#include "suspend/SuspendPanel.h"

#include "controls/Skin.h"
#include "ui/Application.h"
#include "ui/Cursor.h"
#include "ui/Event.h"
#include "ui/Monitors.h"

#include <windowsx.h>

#include <vector>

namespace suspend {

using ui::Raise;

namespace {

// Always on top of ordinary windows; a tool window, so that it has no
// taskbar button and no place in the window switcher; and never activated by
// a click. The system keeps WS_EX_WINDOWEDGE only on a window with a raised
// frame, so the panel, which has none, ends up without it. WS_EX_LAYERED
// makes pure white see-through (below).
constexpr DWORD kPanelExStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_WINDOWEDGE | WS_EX_NOACTIVATE;
constexpr COLORREF kSeeThrough = RGB(255, 255, 255);

struct ButtonLook {
    int left;
    int width;
    const wchar_t* hint;
    const wchar_t* picture;
};

// In ButtonId order. The full-screen button is narrower than its picture,
// whose artwork keeps to the middle 20 pixels.
constexpr ButtonLook kButtonLooks[SuspendPanel::kButtonCount] = {
    {12, 20, L"Full Screen", L"PANEL_FULLSCREEN"},
    {42, 24, L"Active Window", L"PANEL_ACTIVEWINDOW"},
    {74, 24, L"Object", L"PANEL_OBJECT"},
    {103, 24, L"Selected Region", L"PANEL_REGION"},
    {136, 24, L"Fixed Region", L"PANEL_FIXEDREGION"},
    {166, 24, L"Real Time Capture", L"PANEL_REALTIME"},
    {198, 24, L"Setting", L"PANEL_SETTING"},
    {231, 24, L"Quit", L"PANEL_QUIT"},
};
constexpr int kButtonTop = 10, kButtonHeight = 24;

} // namespace

SuspendPanel::SuspendPanel() {
    background_.SetPicture(imaging::PngImage::FromResource(L"PANEL_BACKGROUND"));
    dragFollow_.OnTimer = [this] { FollowDrag(); };
    CreateHost(kSuspendPanelClass, {.caption = L"FormSimple",
                                    .style = WS_POPUP,
                                    .exStyle = kPanelExStyle | WS_EX_LAYERED,
                                    .x = kHomePosition.x,
                                    .y = kHomePosition.y,
                                    .width = background_.Width(),
                                    .height = background_.Height()});
    // The colour key makes every pure white pixel see-through and the rest
    // opaque: the host's white shows wherever the background picture is
    // transparent, which leaves the bar's own outline. A layered window with
    // no attributes would show nothing at all, so without them the panel
    // falls back to an ordinary opaque rectangle.
    if (!SetLayeredWindowAttributes(Handle(), kSeeThrough, 255, LWA_COLORKEY | LWA_ALPHA))
        SetWindowLongPtrW(Handle(), GWL_EXSTYLE, kPanelExStyle);
    Color = kSeeThrough;
    AddControl(background_);
    background_.OnMouseDown = [this](ui::Control&, ui::MouseButton button, ui::ShiftState shift, POINT at) {
        OnBackgroundMouseDown(button, shift, at);
    };
    background_.OnMouseMove = [this](ui::Control&, ui::ShiftState shift, POINT at) {
        OnBackgroundMouseMove(shift, at);
    };
    background_.OnMouseUp = [this](ui::Control&, ui::MouseButton button, ui::ShiftState, POINT) {
        OnBackgroundMouseUp(button);
    };
    hints_.emplace(*this);
    CreateButtons();
    CreateMenu();
    FollowMonitorDpi();
}

void SuspendPanel::LayoutScaled() {
    // The bar drawn for the scale nearest to the panel's.
    background_.SetPicture(controls::LoadSkinPng(L"PANEL_BACKGROUND", Dpi()).picture);
}

void SuspendPanel::CreateButtons() {
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonLook& look = kButtonLooks[i];
        controls::PngButton& button = buttons_[i];
        controls::ApplySkin(button,
                            {.bounds = {look.left, kButtonTop, look.left + look.width, kButtonTop + kButtonHeight},
                             .picture = look.picture});
        button.Hint = look.hint;
        button.ShowHint = true;
        button.OnClick = [this, i](ui::Control&) { OnButtonClick(static_cast<ButtonId>(i)); };
        AddControl(button);
        hints_->Add(button, button.Hint);
    }
}

void SuspendPanel::CreateMenu() {
    menu_.AddItem(L"Main Interface", [this] { Raise(MainWindowRequested); });
    menu_.AddItem(L"Hide", [this] { HidePanel(); });
    menu_.AddSeparator();
    menu_.AddItem(L"Stop Real Time Capture", [this] { Raise(PeriodicStopRequested); });
    menu_.AddSeparator();
    menu_.AddItem(L"Exit", [this] { Raise(QuitRequested); });
}

void SuspendPanel::OnButtonClick(ButtonId id) {
    using capture::CaptureMethod;
    switch (id) {
    case ButtonId::FullScreen:
        return Raise(CaptureRequested, CaptureMethod::FullScreen);
    case ButtonId::ActiveWindow:
        return Raise(CaptureRequested, CaptureMethod::ActiveWindow);
    case ButtonId::Object:
        return Raise(CaptureRequested, CaptureMethod::Object);
    case ButtonId::SelectedRegion:
        return Raise(CaptureRequested, CaptureMethod::SelectedRegion);
    case ButtonId::FixedRegion:
        return Raise(CaptureRequested, CaptureMethod::FixedRegion);
    case ButtonId::RealTimeCapture:
        return Raise(PeriodicStartRequested);
    case ButtonId::Setting:
        return Raise(OptionsRequested);
    case ButtonId::Quit:
        return Raise(QuitRequested);
    }
}

void SuspendPanel::ShowPanel() {
    RECT bounds = WindowRect();
    POINT at{bounds.left, bounds.top};
    // A panel dragged wholly off the screen, or left on a monitor that has
    // gone since, would come back where nobody can reach it.
    // The home position itself is kept on the primary monitor, however small.
    if (!MonitorFromRect(&bounds, MONITOR_DEFAULTTONULL)) {
        const std::vector<ui::Monitor> monitors = ui::Monitors();
        at = ui::KeepInside(DpiScale().Px(kHomePosition), bounds.right - bounds.left, bounds.bottom - bounds.top,
                            ui::PrimaryMonitor(monitors).workArea);
    }
    // HWND_TOPMOST again, above any topmost window shown since.
    SetWindowPos(Handle(), HWND_TOPMOST, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void SuspendPanel::HidePanel() { ShowWindow(Handle(), SW_HIDE); }

void SuspendPanel::OnBackgroundMouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at) {
    // Any button moves the origin; only the left one drags. The host keeps
    // the mouse captured while a button is held, so the release comes here
    // wherever the pointer is by then.
    if (button == ui::MouseButton::Left) dragging_ = true;
    dragOrigin_ = at;
    dragFollow_.SetEnabled(dragging_);
    if (button == ui::MouseButton::Left && shift.doubleClick) Raise(MainWindowRequested);
}

void SuspendPanel::OnBackgroundMouseMove(ui::ShiftState shift, POINT at) {
    // Under Wine, while another program has the foreground, the capture does
    // not hold: a release away from the panel goes to the window under the
    // pointer and never comes here. A move without the left button shows
    // that the drag has ended all the same.
    if (!shift.left) dragging_ = false;
    if (!dragging_) return;
    // No clamping: the panel may go partly off the screen. (Wholly off only
    // when its screen goes away, since the point held stays under the
    // pointer; ShowPanel brings such a panel back.)
    const RECT bounds = WindowRect();
    const int left = bounds.left + at.x - dragOrigin_.x, top = bounds.top + at.y - dragOrigin_.y;
    // One move for both directions: under Wine a window moved under the
    // pointer reports the pointer again, and a report from between a
    // horizontal and a vertical move would move the panel a second time, so
    // that it creeps away from the point held.
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SuspendPanel::OnBackgroundMouseUp(ui::MouseButton button) {
    if (button == ui::MouseButton::Left) dragging_ = false;
}

void SuspendPanel::FollowDrag() {
    // The button the user drags with, physically (GetAsyncKeyState reads the
    // physical buttons, and the left one may be swapped to the right).
    const int dragButton = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    if (!dragging_ || (GetAsyncKeyState(dragButton) & 0x8000) == 0) {
        dragging_ = false;
        dragFollow_.SetEnabled(false);
        return;
    }
    // The point held stays under the pointer.
    const POINT cursor = ui::CursorPosition();
    const RECT bounds = WindowRect();
    if (cursor.x - dragOrigin_.x == bounds.left && cursor.y - dragOrigin_.y == bounds.top) return;
    SetWindowPos(Handle(), nullptr, cursor.x - dragOrigin_.x, cursor.y - dragOrigin_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SuspendPanel::OnContextMenu(POINT screen) {
    // A pop-up menu closes on a click elsewhere, and follows the keyboard,
    // only while its owner is the foreground window. The panel never takes
    // the foreground by itself, so it borrows it while its menu is open and
    // gives it back before the chosen item runs: the window the user was
    // working in is the foreground window again for whatever follows. The
    // user's right click makes this program the one allowed to switch.
    const HWND previous = GetForegroundWindow();
    SetForegroundWindow(Handle());
    const int chosen = menu_.Track(Handle(), screen);
    if (previous && previous != Handle() && GetForegroundWindow() == Handle()) SetForegroundWindow(previous);
    if (chosen >= 0) menu_.Choose(chosen);
}

LRESULT SuspendPanel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_MOUSEACTIVATE:
        // WS_EX_NOACTIVATE alone does not keep a click from activating the
        // panel under Wine; this answer is what Windows does for it anyway.
        return MA_NOACTIVATE;
    case WM_RBUTTONUP:
        // The control under the mouse sees the release first; then the
        // default handling turns the release into WM_CONTEXTMENU, which the
        // routing to the controls would otherwise swallow.
        HostWindow::HandleMessage(message, wParam, lParam);
        return DefWindowProcW(Handle(), message, wParam, lParam);
    case WM_CONTEXTMENU: {
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        // -1, -1 comes from the keyboard: the menu opens at the panel's corner.
        if (at.x == -1 && at.y == -1) at = {WindowRect().left, WindowRect().top};
        OnContextMenu(at);
        return 0;
    }
    case WM_CAPTURECHANGED:
        // The release that would end a drag goes elsewhere now (another
        // program took the mouse, or a menu opened): end it here, or the
        // next plain mouse move would drag the panel along.
        if (reinterpret_cast<HWND>(lParam) != Handle()) dragging_ = false;
        break;
    case WM_CLOSE:
        // Closing the panel only hides it; the program ends with the main window.
        HidePanel();
        return 0;
    default:
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace suspend
