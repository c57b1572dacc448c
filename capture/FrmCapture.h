// The main window: owner of the capture state, the settings record and the
// settings file, the hotkeys, the hotkey hook and the tray icon. Closing it
// ends the program.
#pragma once

#include "capture/CaptureMethod.h"
#include "controls/BitmapButton.h"
#include "controls/PngButton.h"
#include "settings/Options.h"
#include "ui/FlatButton.h"
#include "ui/HostWindow.h"
#include "ui/Image.h"
#include "ui/NativeControls.h"
#include "ui/Timer.h"

#include <shellapi.h>

#include <array>
#include <memory>
#include <optional>

using capture::CaptureMethod;

// True while the highlight frame follows the mouse for an Object or Fixed
// Region capture and the next mouse press will capture.
extern bool Tracking;

// The tray icon's callback message.
constexpr UINT WM_TRAYICON = WM_USER + 101;

// The maker's home page, opened by "Home".
extern const char* const HomePageAddress;

class TFrmCapture : public ui::HostWindow, public settings::CaptureOptions {
public:
    TFrmCapture();
    ~TFrmCapture() override;

    // The hotkeys' identifiers; kNoHotKey where none is registered.
    static constexpr int kNoHotKey = -1;
    std::array<int, 7> HotKeyIds{kNoHotKey, kNoHotKey, kNoHotKey, kNoHotKey, kNoHotKey, kNoHotKey, kNoHotKey};
    // config.ini beside the executable; every settings read and write goes through it.
    std::unique_ptr<settings::IniFile> ConfigFile;

    // Header.
    ui::Image Image2, Image4, Image3;
    controls::PngButton PNGButton1, PNGButton2, PNGButton3, PNGButton9, PNGButton10;
    controls::PngButton PNGButton4, PNGButton5; // separators
    controls::BitmapButton ImgBtnMin, ImgBtnClose;
    // Edges, body picture, footer.
    ui::Image Image9, Image7, Image10, Image8;
    ui::Image Image1, Image6, Image5;
    ui::FlatButton SpeedButton2, SpeedButton1;
    // The hidden strip with the title-bar button pictures.
    ui::Image ImageM;
    bool PanelImageVisible = true;

    // The native controls of the body, created with the window.
    std::optional<ui::GroupBox> GroupBox1;
    std::optional<ui::RadioButton> rdFullScreen, rdActiveWindow, rdObject, rdRegion, rdFixRegion;
    std::optional<ui::CheckBox> CheckBox1;

    ui::Timer Timer1{500, true};
    ui::Timer Timer2{500, false};

    // Fills the settings fields from ConfigFile; with StartupSuspend set, the
    // main window is not shown when the message loop starts.
    void LoadOptions();

    // Arm and disarm the capture trigger: the hotkey hook and Timer1 together.
    // Arming also ends a tracking under way, so that an earlier click can
    // never capture later by surprise.
    void ActiveHotKey();
    void InActiveHotKey();
    // Ends Object or Fixed Region tracking: frame hidden, mouse hook off,
    // pending press forgotten.
    void EndTracking();

    CaptureMethod SelectedMethod() const;

    // The capture dispatcher, run on every tick of Timer1.
    void Timer1Timer();
    // Place, shape and show the highlight frame around the window under the
    // mouse, or around the fixed box centred on the mouse.
    void DrawObjectRect();
    void DrawFixRegionRect();

    void RegisterHotKeys();
    void UnregisterHotKeys();

    // Selecting a capture method checks its radio button alone and arms the trigger.
    void rdFullScreenClick();
    void rdActiveWindowClick();
    void rdObjectClick();
    void rdRegionClick();
    void rdFixRegionClick();

    // The tray menu's method items: select the method and capture with it.
    void FullScreen1Click();
    void ActiveWindow1Click();
    void Object1Click();
    void SelectedRegion1Click();
    void FixedRegion1Click();

    void PNGButton1Click();
    void PNGButton9Click();
    void PNGButton10Click();
    void SpeedButton1Click();
    void ImgBtnCloseClick();
    void Exit1Click();
    void ImageMouseDown(ui::MouseButton button);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintBackground(HDC dc, const RECT& client) override;

private:
    void CreateControls();
    void LoadSkin();
    void LayoutPanels(int width, int height);
    void PlaceTitleButtons();
    void SelectMethod(ui::RadioButton& method);
    // The picture of the screen, with the cursor when the options say so.
    void GrabScreen(ui::Bitmap& work) const;
    // The capture that ends a tracking: the press has been seen.
    void CaptureTracked(CaptureMethod method, ui::Bitmap& work);
    void FormCreate();
    void FormResize();
    void FormClose();
    void FormDestroy();

    ui::UniqueFont font_;
    ui::UniqueIcon icon_, smallIcon_;
    NOTIFYICONDATAA TrayIconData{};
    RECT body_{};
};

extern TFrmCapture* FrmCapture;
