// The main window: owner of the settings record and the settings file, the
// capture method selection, the hotkeys and the tray icon. Closing it ends
// the program.
#pragma once

#include "capture/CaptureMethod.h"
#include "capture/GlobalHotKeys.h"
#include "capture/HotKeyPanel.h"
#include "capture/PeriodicCapture.h"
#include "capture/TrayIcon.h"
#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "settings/IniFile.h"
#include "settings/Options.h"
#include "ui/FlatButton.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/NativeControls.h"
#include "ui/PopupMenu.h"
#include "ui/Timer.h"

#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace capture {

class CaptureTrigger;

// The registered window class name; other programs may look the window up by it.
inline constexpr wchar_t kMainWindowClass[] = L"TFrmCapture";

// The maker's home page, opened by "Home".
inline constexpr wchar_t kHomePageAddress[] = L"https://velonix.example/capture/";

// A period as a user reads it: "30 s", "5 min", "2 h", "1500 ms".
std::wstring DescribePeriod(int milliseconds);

// The question asked before periodic capture starts; it names the key that stops it.
std::wstring PeriodicNoticeText(settings::KeyCombination stopKey);

class MainWindow : public ui::HostWindow {
public:
    MainWindow();
    ~MainWindow() override;

    // The capture trigger that the method commands arm; the application
    // object connects it once every window exists.
    void ConnectTrigger(CaptureTrigger& trigger) { trigger_ = &trigger; }

    // Raised for "Options"; for "Suspend", "Switch to Suspend>>", the
    // title-bar minimise button and the tray menu's "Show Suspend Panel"; and
    // for "Hide Suspend Panel".
    std::function<void()> OnShowOptions;
    std::function<void()> OnShowSuspendPanel;
    std::function<void()> OnHideSuspendPanel;
    // The method of periodic capture, read at every tick: 0 the whole
    // screen, any other value the foreground window.
    std::function<int()> PeriodicMethod;

    // The tray menu's items, in their order.
    enum class TrayItem {
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

    settings::CaptureOptions& Options() { return options_; }
    const settings::CaptureOptions& Options() const { return options_; }
    settings::IniFile& ConfigFile() { return *configFile_; }
    // Fills the settings from config.ini; with StartupSuspend set, the main
    // window is not shown when the message loop starts.
    void LoadOptions();

    CaptureMethod SelectedMethod() const;
    // Selecting a capture method checks its radio button alone and arms the trigger.
    void OnMethodChosen(CaptureMethod method);
    // Selects the method, then asks the trigger for a capture, which follows
    // once the current message is handled.
    void CaptureWith(CaptureMethod method);

    // Periodic capture as the "Real Time Capture" check box drives it: the
    // box's state says whether to start (after the user confirms) or stop.
    void OnRealTimeToggled();
    // Start and stop requests: the box is set, then its handler runs once.
    void RequestPeriodicCapture(bool start);

    // Shows this window in front (from the tray or the suspend panel).
    void Reveal();

    void OnCapture();
    void OnHome();
    void OnHelp();
    void OnMore();
    void OnSuspend();
    void OnClose();
    void OnMinimize();
    // The tray icon's mouse messages: a left press shows or hides this
    // window, a right press opens the tray menu.
    void OnTrayIcon(UINT mouseMessage);
    // A global hotkey, matched on its modifiers and key.
    void OnHotKey(LPARAM modifiersAndKey);
    // Puts the hotkeys of the settings in force at once: registers them, sets
    // the capture key, and shows them in the tray menu and on the window.
    // HotKeys().Refused() then says which ones another program holds.
    void ApplyHotKeys();
    // One warning that names every hotkey another program holds, if any.
    void ReportRefusedHotKeys();

    const GlobalHotKeys& HotKeys() const { return *hotKeys_; }
    const HotKeyPanel& HotKeyText() const { return hotKeyPanel_; }
    ui::PopupMenu& TrayMenu() { return trayMenu_; }
    const TrayIcon& Tray() const { return *trayIcon_; }
    const PeriodicCapture& Periodic() const { return periodic_; }
    bool RealTimeChecked() const { return realTimeCheck_->Checked(); }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    void CreateControls();
    void LoadSkin();
    void LayoutPanels(int width, int height);
    void PlaceTitleButtons();
    // Keeps the rounded outline and the title-bar buttons fitted to the size.
    void OnResize();
    void OnHeaderMouseDown(ui::MouseButton button);
    void OnDestroy();
    void CreateTrayMenu();
    // The tray menu's commands.
    void OnTrayCapture(CaptureMethod method);
    void OnTrayStartPeriodic();
    void OnTrayStopPeriodic();
    void SetTrayItemsEnabled(bool methodsAndStart);
    void UncheckTrayMethodsAndStart();
    // The tray tip tells whether pictures are being written, and how often.
    void UpdateTrayTip();

    settings::CaptureOptions options_;
    // config.ini beside the executable; every settings read and write goes through it.
    std::unique_ptr<settings::IniFile> configFile_;
    CaptureTrigger* trigger_ = nullptr;

    ui::UniqueFont font_;
    ui::UniqueIcon icon_, smallIcon_;

    ui::Image headerLeft_, headerMiddle_, headerRight_;
    controls::PngButton captureButton_, optionsButton_, suspendButton_, homeButton_, helpButton_;
    controls::PngButton leftSeparator_, rightSeparator_;
    controls::BitmapButton minimizeButton_, closeButton_;
    ui::Image leftEdge_, innerEdge_, rightEdge_, bodyPicture_;
    ui::Image footerLeft_, footerMiddle_, footerRight_;
    HotKeyPanel hotKeyPanel_;
    ui::FlatButton switchToSuspendButton_, moreButton_;

    // The native controls of the body, created with the window.
    std::optional<ui::GroupBox> methodGroup_;
    // Indexed by CaptureMethod.
    std::array<std::optional<ui::RadioButton>, kCaptureMethodCount> methodRadios_;
    std::optional<ui::CheckBox> realTimeCheck_;

    PeriodicCapture periodic_;

    std::optional<GlobalHotKeys> hotKeys_;
    std::optional<TrayIcon> trayIcon_;
    ui::PopupMenu trayMenu_;
    // Sent to every top-level window when the shell (re)starts its taskbar.
    const UINT taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    RECT body_{};
};

} // namespace capture
