// The suspend panel: a small bar without frame or caption that floats above
// all ordinary windows and stands in for the main window. It never takes the
// focus, so the window the user works in stays the foreground window, which is
// what its "Active Window" button captures. It carries eight image buttons
// with tooltips and a right-click menu, and is dragged by its background.
// Pure white pixels of the panel are see-through.
#pragma once

#include "capture/CaptureMethod.h"
#include "controls/PngButton.h"
#include "ui/HostWindow.h"
#include "controls/PngPicture.h"
#include "ui/PopupMenu.h"
#include "ui/Timer.h"
#include "ui/ToolTip.h"

#include <array>
#include <functional>
#include <optional>

namespace suspend {

inline constexpr wchar_t kSuspendPanelClass[] = L"TFormSimple";

class SuspendPanel : public ui::HostWindow {
public:
    // The buttons from left to right.
    enum class ButtonId {
        FullScreen,
        ActiveWindow,
        Object,
        SelectedRegion,
        FixedRegion,
        RealTimeCapture,
        Setting,
        Quit
    };
    static constexpr int kButtonCount = 8;
    // Positions of the menu's items; 2 and 4 are separators.
    static constexpr int kMainInterfaceItem = 0, kHideItem = 1, kStopRealTimeCaptureItem = 3, kExitItem = 5;
    // Where the panel first appears, and where showing it puts it back when
    // its last position lies on no screen.
    static constexpr POINT kHomePosition{717, 109};

    // Creates the panel hidden at its home position, sized to its picture.
    SuspendPanel();

    // What the user asks for on the panel.
    std::function<void(capture::CaptureMethod)> CaptureRequested; // the five method buttons
    std::function<void()> PeriodicStartRequested;                 // "Real Time Capture" button (a start request)
    std::function<void()> PeriodicStopRequested;                  // menu "Stop Real Time Capture" (a stop request)
    std::function<void()> OptionsRequested;                       // "Setting"
    std::function<void()> MainWindowRequested; // menu "Main Interface" and a double-click on the background
    std::function<void()> QuitRequested;       // "Quit" button and menu "Exit" (close the main window)

    // Shows the panel without activating it, at its last position when that
    // still lies on a screen, otherwise at kHomePosition.
    void ShowPanel();
    // Hides the panel; it keeps its position. Also what the menu's "Hide" does.
    void HidePanel();

    // For tests.
    const controls::PngButton& Button(ButtonId id) const { return buttons_[static_cast<std::size_t>(id)]; }
    const ui::PopupMenu& Menu() const { return menu_; }
    const ui::ToolTip& Hints() const { return *hints_; }
    bool Dragging() const { return dragging_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void LayoutScaled() override;
    void CreateButtons();
    void CreateMenu();
    void OnButtonClick(ButtonId id);
    void OnBackgroundMouseDown(ui::MouseButton button, ui::ShiftState shift, POINT at);
    void OnBackgroundMouseMove(ui::ShiftState shift, POINT at);
    void OnBackgroundMouseUp(ui::MouseButton button);
    void FollowDrag();
    void OnContextMenu(POINT screen);

    controls::PngPicture background_;
    std::array<controls::PngButton, kButtonCount> buttons_;
    ui::PopupMenu menu_;
    // Made once the window exists, since the tooltip is owned by it.
    std::optional<ui::ToolTip> hints_;
    // A left press on the background drags the panel until that button is
    // released; the point pressed, in the background's coordinates, stays
    // under the mouse.
    bool dragging_ = false;
    // While dragging, the panel also follows the pointer on its own: under
    // Wine a window that is not in front keeps the mouse only while the
    // pointer is over it, and a quick hand leaves the panel behind.
    ui::Timer dragFollow_{10, false};
    POINT dragOrigin_{};
};

} // namespace suspend
