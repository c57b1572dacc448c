// The tray: the program's icon in the notification area with its tip and its
// menu. A left press on the icon asks for the main window to be shown or
// hidden, a right press opens the menu; the menu's commands go out as
// requests. The menu keeps its own marks: the method last captured with from
// it, or its periodic start, and which of start and stop can be chosen.
#pragma once

#include "app/TrayIcon.h"
#include "capture/CaptureMethod.h"
#include "capture/PeriodicCapture.h"
#include "settings/HotKeySettings.h"
#include "ui/PopupMenu.h"

#include <functional>
#include <optional>
#include <string>

namespace app {

// A period as a user reads it: "30 s", "5 min", "2 h", "1500 ms".
std::wstring DescribePeriod(int milliseconds);

// The tray tip while periodic capture runs: the title, the period, the
// pictures written, with skipping on the pictures skipped, and the time of
// the last one ("Velonix Capture - every 30 s, 12 pictures, last 14:07:09").
std::wstring PeriodicTrayTip(const std::wstring& title, int periodMs, const capture::PeriodicProgress& progress,
                             bool skippingUnchanged);

class Tray {
public:
    // The menu's items, in their order.
    enum class Item {
        FullScreen,
        ActiveWindow,
        Object,
        SelectedRegion,
        FixedRegion,
        MethodsEnd,
        StartPeriodic = MethodsEnd + 1,
        StopPeriodic,
        SuspendPanelSeparator,
        ShowSuspendPanel,
        HideSuspendPanel,
        Exit
    };

    // The icon's mouse messages go to owner, which hands them to OnIconMessage.
    Tray(HWND owner, HICON icon, std::wstring title);

    std::function<void(capture::CaptureMethod)> CaptureRequested;
    std::function<void()> PeriodicStartRequested;
    std::function<void()> PeriodicStopRequested;
    std::function<void()> SuspendPanelShowRequested;
    std::function<void()> SuspendPanelHideRequested;
    std::function<void()> ExitRequested;
    std::function<void()> MainWindowToggleRequested;

    // A mouse message on the icon; the menu marks the selected method.
    void OnIconMessage(UINT mouseMessage, capture::CaptureMethod selected);
    // The shell restarted and forgot the icon: without it the program,
    // hidden in the tray, could not be reached.
    void OnTaskbarCreated() { icon_.Restore(); }
    // Periodic capture started: the menu's method and start marks go.
    void OnPeriodicStarted() { ClearMarks(); }
    // The shortcut labels of the menu: the keys in force.
    void ShowHotKeys(const settings::HotKeyTable& keys);
    // The tip tells whether pictures are being written, and while they are,
    // how often, how many and when the last one was.
    void ShowPeriodicProgress(std::optional<int> intervalMs, const capture::PeriodicProgress& progress = {},
                              bool skippingUnchanged = false);
    // Removes the icon at once (the main window is gone).
    void Remove() { icon_.Remove(); }

    ui::PopupMenu& Menu() { return menu_; }
    const TrayIcon& Icon() const { return icon_; }

private:
    void OnCaptureChosen(capture::CaptureMethod method);
    void OnStartChosen();
    void OnStopChosen();
    void ClearMarks();
    void SetItemsEnabled(bool methodsAndStart);

    HWND owner_;
    std::wstring title_;
    TrayIcon icon_;
    ui::PopupMenu menu_;
};

} // namespace app
