// The main window: the skinned frame with its header buttons, the capture
// method choice and the "Real Time Capture" check box. It is a view: it keeps
// no settings and runs nothing; what the user asks of it goes out as events
// for the application object to act on. The messages that the tray icon and
// the global hotkeys send to it go out the same way.
#pragma once

#include "app/HotKeyPanel.h"
#include "capture/CaptureMethod.h"
#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "ui/FlatButton.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/NativeControls.h"

#include <array>
#include <functional>
#include <optional>

namespace app {

// The registered window class name; other programs may look the window up by it.
inline constexpr wchar_t kMainWindowClass[] = L"TFrmCapture";

// The maker's home page, opened by "Home".
inline constexpr wchar_t kHomePageAddress[] = L"https://velonix.example/capture/";

class MainWindow : public ui::HostWindow {
public:
    // Created hidden, with Selected Region chosen.
    MainWindow();

    // What the user asks for.
    std::function<void()> CaptureRequested;                   // "Capture"
    std::function<void(capture::CaptureMethod)> MethodChosen; // a click on a method's radio button
    std::function<void(bool checked)> PeriodicSwitchClicked;  // a click on "Real Time Capture"
    std::function<void()> OptionsRequested;                   // "Options"
    std::function<void()> SuspendPanelRequested;              // "Suspend", "Switch to Suspend>>", minimise
    // The window is closing (before it is destroyed), and has been destroyed.
    std::function<void()> Closing;
    std::function<void()> Destroyed;
    // Messages for the tray icon and the hotkeys, which are registered on this window.
    std::function<void(LPARAM modifiersAndKey)> HotKeyPressed;
    std::function<void(UINT mouseMessage)> TrayIconMessage;
    // The shell (re)started its taskbar, which forgot the tray icon.
    std::function<void()> TaskbarCreated;
    // The system's notices of the session (WM_WTSSESSION_CHANGE's reason)
    // and of power (WM_POWERBROADCAST's event and data), which this window
    // is registered for.
    std::function<void(WPARAM reason)> SessionChanged;
    std::function<void(WPARAM event, LPARAM data)> PowerBroadcast;

    capture::CaptureMethod SelectedMethod() const;
    // Checks the method's radio button alone; raises nothing.
    void SelectMethod(capture::CaptureMethod method);
    // Writes the keys in force over the artwork.
    void ShowHotKeys(const settings::HotKeyTable& keys) { hotKeyPanel_.SetKeys(keys); }
    const HotKeyPanel& HotKeyText() const { return hotKeyPanel_; }

    bool PeriodicChecked() const { return periodicCheck_->Checked(); }
    // Sets the check box alone; raises nothing.
    void SetPeriodicChecked(bool checked) { periodicCheck_->SetChecked(checked); }

    // Shows this window in front (from the tray or the suspend panel).
    void Reveal();
    // Hides a shown window, reveals a hidden one.
    void ToggleShown();
    // Closes the window, which ends the program.
    void Close();

private:
    void CreateControls();
    void LoadSkin();
    void LayoutPanels(int width, int height);
    void PlaceTitleButtons();
    void LayoutScaled() override;
    // Keeps the rounded outline and the title-bar buttons fitted to the size.
    void OnResize();
    void OnHeaderMouseDown(ui::MouseButton button);
    void OnHome();
    void OnHelp();
    void OnSuspend();
    void OnMinimize();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& client) override;

    ui::UniqueIcon icon_, smallIcon_;

    ui::Image headerLeft_, headerMiddle_, headerRight_;
    controls::PngButton captureButton_, optionsButton_, suspendButton_, homeButton_, helpButton_;
    controls::PngButton leftSeparator_, rightSeparator_;
    controls::BitmapButton minimizeButton_, closeButton_;
    ui::Image leftEdge_, innerEdge_, rightEdge_, bodyPicture_;
    HotKeyPanel hotKeyPanel_;
    ui::Image footerLeft_, footerMiddle_, footerRight_;
    ui::FlatButton switchToSuspendButton_, moreButton_;

    // The native controls of the body, created with the window.
    std::optional<ui::GroupBox> methodGroup_;
    // Indexed by CaptureMethod.
    std::array<std::optional<ui::RadioButton>, capture::kCaptureMethodCount> methodRadios_;
    std::optional<ui::CheckBox> periodicCheck_;

    // Sent to every top-level window when the shell (re)starts its taskbar.
    const UINT taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
    RECT body_{};
    bool created_ = false;
};

} // namespace app
