#include "capture/MainWindow.h"

#include "capture/CaptureKey.h"
#include "capture/CaptureTrigger.h"
#include "hook/hook.h"
#include "ui/Application.h"
#include "ui/Cursor.h"
#include "ui/Error.h"
#include "ui/Resources.h"

#include <shellapi.h>

#include <algorithm>

namespace capture {

namespace {

// The layout's fixed sizes, in pixels.
constexpr int kDesignWidth = 613, kDesignHeight = 481;
constexpr int kHeaderHeight = 135, kFooterHeight = 45;
constexpr int kHeaderLeftWidth = 333, kHeaderRightWidth = 180;
constexpr int kFooterLeftWidth = 227, kFooterRightWidth = 69;
constexpr int kRightEdgeWidth = 15, kLeftEdgeWidth = 8, kInnerEdgeWidth = 5;
constexpr int kBodyPictureWidth = 353;

// The radio buttons' captions, in CaptureMethod order.
constexpr const wchar_t* kMethodCaptions[kCaptureMethodCount] = {L"Full Screen", L"Active Window", L"Object",
                                                                 L"Selected Region", L"Fixed Region"};

// Posted to itself at start-up, so that the hotkeys that could not be
// registered are reported once the window is up.
constexpr UINT kReportHotKeysMessage = WM_APP + 20;

} // namespace

std::wstring PeriodicNoticeText(settings::KeyCombination stopKey) {
    const std::wstring how = stopKey.Empty()
                                 ? L"system tray menu"
                                 : L"hotkey " + settings::KeyCombinationText(stopKey) + L" or system tray menu";
    return L"Note: The real time capture will be on. You can stop it with " + how + L". Start now?";
}

std::wstring DescribePeriod(int milliseconds) {
    if (milliseconds % 3600000 == 0) return std::to_wstring(milliseconds / 3600000) + L" h";
    if (milliseconds % 60000 == 0) return std::to_wstring(milliseconds / 60000) + L" min";
    if (milliseconds % 1000 == 0) return std::to_wstring(milliseconds / 1000) + L" s";
    return std::to_wstring(milliseconds) + L" ms";
}

MainWindow::MainWindow() : periodic_(options_, [this] { return PeriodicMethod ? PeriodicMethod() : 0; }) {
    icon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, 32, 32, 0)));
    smallIcon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
    ui::WindowClassArgs windowClass{.name = kMainWindowClass, .icon = icon_.Get(), .smallIcon = smallIcon_.Get()};
    ui::WindowCreateArgs args{.caption = L"Snapora",
                              .style = WS_POPUP | WS_CLIPCHILDREN,
                              .x = 355,
                              .y = 153,
                              .width = kDesignWidth,
                              .height = kDesignHeight};
    CreateHandle(windowClass, args);
    // The first window created is the main window: closing it ends the program.
    ui::App().SetMainWindow(Handle());
    CreateControls();
    LoadSkin();
    CreateTrayMenu();

    // Painting is double-buffered by the host window itself. The hotkeys are
    // registered before the tray icon, as ever, with the default keys; the
    // settings' own keys take their place once the settings are read.
    hotKeys_.emplace(Handle(), options_.HotKeys);
    trayIcon_.emplace(Handle(), smallIcon_.Get(), ui::App().Title());
    // Selected Region is the method at start-up; the trigger starts armed.
    methodRadios_[static_cast<int>(CaptureMethod::SelectedRegion)]->SetChecked(true);
    // Periodic capture stops the trigger's polls while it takes a picture;
    // a failed tick leaves them stopped until a later tick succeeds.
    periodic_.OnTickStarting = [this] {
        if (trigger_) trigger_->SetTimerRunning(false);
    };
    periodic_.OnTickSucceeded = [this] {
        if (trigger_) trigger_->SetTimerRunning(true);
    };

    configFile_ = std::make_unique<settings::IniFile>(settings::ConfigFilePath());
    // A settings file that exists but cannot be read is named, and the
    // defaults serve for this run, as the message says.
    if (const std::wstring problem = settings::ConfigReadProblem(configFile_->FileName()); !problem.empty())
        ui::App().ShowMessage(ui::FormatMessageText(L"Cannot read the settings file \"%s\". %s Snapora starts with "
                                                    L"the default settings.",
                                                    {configFile_->FileName(), problem}),
                              MB_OK | MB_ICONWARNING);
    else
        LoadOptions();
    ApplyHotKeys();
    if (!hotKeys_->Refused().empty()) PostMessageW(Handle(), kReportHotKeysMessage, 0, 0);

    const RECT client = ClientRect();
    LayoutPanels(client.right, client.bottom);
    OnResize();
}

MainWindow::~MainWindow() {
    // Normally the window was closed and OnDestroy has run; a window still
    // up when the object goes gives back its tray icon and hotkeys here.
    if (Handle()) OnDestroy();
    ui::App().SetMainWindow(nullptr);
}

void MainWindow::CreateControls() {
    // The window's font: 12-pixel SimSun in the GB2312 character set.
    font_ = ui::CreateFontOf(L"\u5B8B\u4F53", 12, GB2312_CHARSET);
    Color = GetSysColor(COLOR_BTNFACE);

    for (ui::Image* image : {&headerLeft_, &headerMiddle_, &headerRight_, &rightEdge_, &leftEdge_, &innerEdge_,
                             &bodyPicture_, &footerLeft_, &footerMiddle_, &footerRight_})
        AddControl(*image);
    // The keys are written over the pictures, in front of them and behind the buttons.
    AddControl(hotKeyPanel_);
    for (ui::Image* stretched : {&headerMiddle_, &rightEdge_, &leftEdge_, &innerEdge_, &footerMiddle_})
        stretched->SetStretch(true);
    for (ui::Image* header : {&headerLeft_, &headerRight_, &headerMiddle_})
        header->OnMouseDown = [this](ui::Control&, ui::MouseButton button, ui::ShiftState, POINT) {
            OnHeaderMouseDown(button);
        };

    struct HeaderButton {
        controls::PngButton& button;
        const wchar_t* caption;
        const wchar_t* picture;
        int x, y, w, h;
        void (MainWindow::*onClick)();
    };
    const HeaderButton headerButtons[] = {
        {captureButton_, L"Capture", L"ICON_CAPTURE", 8, 40, 73, 60, &MainWindow::OnCapture},
        {optionsButton_, L"Options", L"ICON_OPTIONS", 88, 40, 73, 60, nullptr},
        {suspendButton_, L"Suspend", L"ICON_SUSPEND", 160, 40, 73, 60, &MainWindow::OnSuspend},
        {homeButton_, L"Home", L"ICON_HOME", 248, 40, 73, 60, &MainWindow::OnHome},
        {helpButton_, L"Help", L"ICON_HELP", 463, 41, 65, 60, &MainWindow::OnHelp},
    };
    for (const HeaderButton& b : headerButtons) {
        b.button.SetBounds(b.x, b.y, b.w, b.h);
        b.button.SetButtonStyle(controls::PngButton::FrameStyle::NoFrame);
        b.button.SetFont(L"Verdana", 11, RGB(255, 255, 255));
        b.button.SetCaption(b.caption);
        b.button.SetImageNormal(ui::PngImage::FromResource(b.picture));
        b.button.Cursor = LoadCursorW(nullptr, IDC_HAND);
        if (b.onClick) b.button.OnClick = [this, onClick = b.onClick](ui::Control&) { (this->*onClick)(); };
        AddControl(b.button);
    }
    optionsButton_.OnClick = [this](ui::Control&) {
        if (OnShowOptions) OnShowOptions();
    };
    leftSeparator_.SetBounds(80, 50, 1, 40);
    rightSeparator_.SetBounds(240, 50, 1, 40);
    AddControl(leftSeparator_);
    AddControl(rightSeparator_);

    minimizeButton_.SetBounds(0, 0, 25, 31);
    closeButton_.SetBounds(0, 0, 25, 31);
    AddControl(minimizeButton_);
    AddControl(closeButton_);
    closeButton_.OnClick = [this](ui::Control&) { OnClose(); };
    minimizeButton_.OnClick = [this](ui::Control&) { OnMinimize(); };

    switchToSuspendButton_.SetCaption(L"Switch to Suspend>>");
    moreButton_.SetCaption(L"More>>");
    for (ui::FlatButton* flat : {&switchToSuspendButton_, &moreButton_}) {
        flat->Font = font_.Get();
        flat->TextColor = RGB(0, 0, 0);
        AddControl(*flat);
    }
    moreButton_.OnClick = [this](ui::Control&) { OnMore(); };
    switchToSuspendButton_.OnClick = [this](ui::Control&) { OnSuspend(); };

    // The native controls sit on the white body.
    const COLORREF white = RGB(255, 255, 255);
    auto args = [&](const wchar_t* text) {
        return ui::NativeControlArgs{.text = text, .font = font_.Get(), .background = white};
    };
    for (int i = 0; i < kCaptureMethodCount; ++i) {
        methodRadios_[i].emplace(*this, args(kMethodCaptions[i]));
        methodRadios_[i]->OnClick = [this, i] { OnMethodChosen(static_cast<CaptureMethod>(i)); };
    }
    realTimeCheck_.emplace(*this, args(L"Real Time Capture"));
    realTimeCheck_->OnClick = [this] { OnRealTimeToggled(); };
    methodGroup_.emplace(*this, args(L"Capture Method"));
    // The frame lies under the buttons it holds.
    SetWindowPos(methodGroup_->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void MainWindow::LoadSkin() {
    struct Piece {
        ui::Image& image;
        const wchar_t* resource;
    };
    const Piece pieces[] = {
        {headerLeft_, L"HEADER_LEFT"},   {headerMiddle_, L"HEADER_MIDDLE"}, {headerRight_, L"HEADER_RIGHT"},
        {rightEdge_, L"EDGE_RIGHT"},     {leftEdge_, L"EDGE_LEFT"},         {innerEdge_, L"EDGE_INNER"},
        {bodyPicture_, L"BODY_PICTURE"}, {footerLeft_, L"FOOTER_LEFT"},     {footerMiddle_, L"FOOTER_MIDDLE"},
        {footerRight_, L"FOOTER_RIGHT"},
    };
    for (const Piece& piece : pieces)
        piece.image.SetPicture(ui::LoadBitmapResource(piece.resource));
    // The title-bar buttons' three looks each, cut out of one strip.
    const ui::Bitmap titleButtons = ui::LoadBitmapResource(L"TITLE_BUTTONS");
    SkinTitleButton(minimizeButton_, titleButtons, 0, 0, 27, 20);
    SkinTitleButton(closeButton_, titleButtons, 55, 0, 24, 20);
}

void MainWindow::LayoutPanels(int width, int height) {
    // Header on top, footer at the bottom, the right edge between them, the
    // body filling the rest, each piece at its design size or stretched.
    const int footerTop = height - kFooterHeight;
    const int bodyHeight = footerTop - kHeaderHeight;
    const int bodyRight = width - kRightEdgeWidth;
    headerLeft_.SetBounds(0, 0, kHeaderLeftWidth, kHeaderHeight);
    headerRight_.SetBounds(width - kHeaderRightWidth, 0, kHeaderRightWidth, kHeaderHeight);
    headerMiddle_.SetBounds(kHeaderLeftWidth, 0, width - kHeaderLeftWidth - kHeaderRightWidth, kHeaderHeight);
    rightEdge_.SetBounds(bodyRight, kHeaderHeight, kRightEdgeWidth, bodyHeight);
    body_ = {0, kHeaderHeight, bodyRight, footerTop};
    leftEdge_.SetBounds(0, kHeaderHeight, kLeftEdgeWidth, bodyHeight);
    innerEdge_.SetBounds(kLeftEdgeWidth, kHeaderHeight, kInnerEdgeWidth, bodyHeight);
    const int pictureLeft = bodyRight - kBodyPictureWidth;
    bodyPicture_.SetBounds(pictureLeft, kHeaderHeight, kBodyPictureWidth, bodyHeight);
    hotKeyPanel_.Place(width, height, {pictureLeft, kHeaderHeight});
    footerLeft_.SetBounds(0, footerTop, kFooterLeftWidth, kFooterHeight);
    footerRight_.SetBounds(width - kFooterRightWidth, footerTop, kFooterRightWidth, kFooterHeight);
    footerMiddle_.SetBounds(kFooterLeftWidth, footerTop, width - kFooterLeftWidth - kFooterRightWidth, kFooterHeight);
    switchToSuspendButton_.SetBounds(424, kHeaderHeight + 184, 137, 22);
    moreButton_.SetBounds(424, kHeaderHeight + 272, 73, 22);

    if (!methodGroup_) return;
    const int groupLeft = kLeftEdgeWidth + kInnerEdgeWidth;
    const int groupWidth = pictureLeft - groupLeft;
    MoveWindow(methodGroup_->Handle(), groupLeft, kHeaderHeight, groupWidth, bodyHeight, TRUE);
    // The radio buttons 40 pixels from the group's left edge, at these tops;
    // the check box below them.
    constexpr int kRadioTops[kCaptureMethodCount] = {40, 80, 120, 154, 192};
    for (int i = 0; i < kCaptureMethodCount; ++i)
        MoveWindow(methodRadios_[i]->Handle(), groupLeft + 40, kHeaderHeight + kRadioTops[i], 113, 17, TRUE);
    MoveWindow(realTimeCheck_->Handle(), groupLeft + 40, kHeaderHeight + 232, 137, 17, TRUE);
}

void MainWindow::PlaceTitleButtons() {
    const int width = WindowRect().right - WindowRect().left;
    minimizeButton_.BringToFront();
    minimizeButton_.SetBounds(width - 68, 6, minimizeButton_.Width(), minimizeButton_.Height());
    closeButton_.BringToFront();
    closeButton_.SetBounds(width - 43, 6, closeButton_.Width(), closeButton_.Height());
}

void MainWindow::LoadOptions() {
    settings::LoadOptions(*configFile_, options_);
    if (options_.StartupSuspend) ui::App().SetShowMainWindowOnRun(false);
}

void MainWindow::OnResize() {
    const RECT window = WindowRect();
    const int width = window.right - window.left, height = window.bottom - window.top;
    // The system owns the region once it is set, so it is not deleted here.
    HRGN outline = CreateRoundRectRgn(0, 0, width + 1, height + 1, 6, 6);
    if (outline && !SetWindowRgn(Handle(), outline, TRUE)) DeleteObject(outline);
    PlaceTitleButtons();
    if (IsZoomed(Handle()) && (GetWindowLongW(Handle(), GWL_STYLE) & WS_BORDER) == 0)
        SetWindowPos(Handle(), nullptr, 0, 0, width, GetSystemMetrics(SM_CYSCREEN) - 30,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CaptureMethod MainWindow::SelectedMethod() const {
    for (int i = 0; i < kCaptureMethodCount; ++i)
        if (methodRadios_[i]->Checked()) return static_cast<CaptureMethod>(i);
    return CaptureMethod::SelectedRegion;
}

void MainWindow::OnMethodChosen(CaptureMethod method) {
    methodRadios_[static_cast<int>(method)]->SetChecked(true);
    if (trigger_) trigger_->Arm();
}

void MainWindow::CaptureWith(CaptureMethod method) {
    OnMethodChosen(method);
    if (trigger_) trigger_->CaptureNow();
}

void MainWindow::OnCapture() {
    if (!trigger_) return;
    trigger_->Arm();
    trigger_->CaptureNow();
}

void MainWindow::Reveal() {
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void MainWindow::OnHome() { ShellExecuteW(Handle(), nullptr, kHomePageAddress, nullptr, nullptr, SW_SHOWNORMAL); }

void MainWindow::OnHelp() {
    // The help file lies beside the executable; a missing one is not reported.
    const std::wstring help = ui::ExecutableFolder() + L"capture.chm";
    ShellExecuteW(Handle(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::OnMore() { OnHelp(); }

void MainWindow::OnSuspend() {
    if (OnShowSuspendPanel) OnShowSuspendPanel();
    ShowWindow(Handle(), SW_HIDE);
}

void MainWindow::OnClose() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void MainWindow::OnMinimize() {
    // Nothing to report if either step fails: the tray icon still reaches
    // the program.
    try {
        ShowWindow(Handle(), SW_HIDE);
        if (OnShowSuspendPanel) OnShowSuspendPanel();
    } catch (...) {
    }
}

void MainWindow::CreateTrayMenu() {
    // The shortcut labels are the keys in force, written by ApplyHotKeys.
    for (int i = 0; i < kCaptureMethodCount; ++i)
        trayMenu_.AddItem(kMethodCaptions[i], [this, i] { OnTrayCapture(static_cast<CaptureMethod>(i)); });
    trayMenu_.AddSeparator();
    trayMenu_.AddItem(L"Real Time Capture", [this] { OnTrayStartPeriodic(); });
    trayMenu_.AddItem(L"Stop Real Time Capture", [this] { OnTrayStopPeriodic(); });
    trayMenu_.AddSeparator();
    trayMenu_.AddItem(L"Show Suspend Panel", [this] {
        if (OnShowSuspendPanel) OnShowSuspendPanel();
    });
    trayMenu_.AddItem(L"Hide Suspend Panel", [this] {
        if (OnHideSuspendPanel) OnHideSuspendPanel();
    });
    trayMenu_.AddItem(L"Exit", [this] { OnClose(); });
}

void MainWindow::UncheckTrayMethodsAndStart() {
    for (int i = 0; i < kCaptureMethodCount; ++i)
        trayMenu_.SetChecked(i, false);
    trayMenu_.SetChecked(static_cast<int>(TrayItem::StartPeriodic), false);
}

void MainWindow::SetTrayItemsEnabled(bool methodsAndStart) {
    for (int i = 0; i < kCaptureMethodCount; ++i)
        trayMenu_.SetEnabled(i, methodsAndStart);
    trayMenu_.SetEnabled(static_cast<int>(TrayItem::StartPeriodic), methodsAndStart);
    trayMenu_.SetEnabled(static_cast<int>(TrayItem::StopPeriodic), !methodsAndStart);
}

void MainWindow::OnTrayCapture(CaptureMethod method) {
    // The menu's own marks: this method alone; a running periodic capture
    // goes on, but can no longer be stopped from here.
    UncheckTrayMethodsAndStart();
    trayMenu_.SetChecked(static_cast<int>(method), true);
    trayMenu_.SetEnabled(static_cast<int>(TrayItem::StopPeriodic), false);
    CaptureWith(method);
}

void MainWindow::OnTrayStartPeriodic() {
    UncheckTrayMethodsAndStart();
    trayMenu_.SetChecked(static_cast<int>(TrayItem::StartPeriodic), true);
    SetTrayItemsEnabled(false);
    RequestPeriodicCapture(true);
}

void MainWindow::OnTrayStopPeriodic() {
    RequestPeriodicCapture(false);
    UncheckTrayMethodsAndStart();
    SetTrayItemsEnabled(true);
}

void MainWindow::RequestPeriodicCapture(bool start) {
    realTimeCheck_->SetChecked(start);
    OnRealTimeToggled();
}

void MainWindow::OnRealTimeToggled() {
    if (realTimeCheck_->Checked()) {
        const int answer =
            ui::App().ShowMessage(PeriodicNoticeText(options_.HotKeys[static_cast<int>(HotKey::StopPeriodic)]),
                                  L"Notice", MB_OKCANCEL | MB_TASKMODAL);
        if (answer == IDOK) {
            UncheckTrayMethodsAndStart();
            if (trigger_) trigger_->SetTimerRunning(false);
            // The first picture comes one full period later; a period of 0
            // or less (a hand-edited file) runs nothing.
            periodic_.Start(options_.Interval);
            UpdateTrayTip();
            return;
        }
        realTimeCheck_->SetChecked(false);
    }
    if (trigger_) trigger_->SetTimerRunning(true);
    periodic_.Stop();
    UpdateTrayTip();
}

void MainWindow::UpdateTrayTip() {
    if (!trayIcon_) return;
    std::wstring tip = ui::App().Title();
    if (periodic_.Running()) tip += L" - periodic capture every " + DescribePeriod(periodic_.Interval());
    trayIcon_->SetTip(tip);
}

void MainWindow::ApplyHotKeys() {
    const settings::HotKeyTable& keys = options_.HotKeys;
    hotKeys_->Change(keys);
    const settings::KeyCombination captureKey = keys[static_cast<int>(HotKey::CaptureKey)];
    SetCaptureKey(captureKey.modifiers, captureKey.key);
    for (int i = 0; i < kCaptureMethodCount; ++i)
        trayMenu_.SetShortcutLabel(i, settings::KeyCombinationText(keys[i]));
    trayMenu_.SetShortcutLabel(static_cast<int>(TrayItem::StartPeriodic),
                               settings::KeyCombinationText(keys[static_cast<int>(HotKey::StartPeriodic)]));
    trayMenu_.SetShortcutLabel(static_cast<int>(TrayItem::StopPeriodic),
                               settings::KeyCombinationText(keys[static_cast<int>(HotKey::StopPeriodic)]));
    hotKeyPanel_.SetKeys(keys);
}

void MainWindow::ReportRefusedHotKeys() {
    if (!hotKeys_) return;
    if (const std::wstring refused = RefusedHotKeysMessage(hotKeys_->Refused(), options_.HotKeys); !refused.empty())
        ui::App().ShowMessage(refused, MB_OK | MB_ICONWARNING);
}

void MainWindow::OnHotKey(LPARAM modifiersAndKey) {
    if (!hotKeys_) return;
    const std::optional<HotKey> hotKey = hotKeys_->Match(modifiersAndKey);
    if (!hotKey) return;
    switch (*hotKey) {
    case HotKey::StartPeriodic:
        RequestPeriodicCapture(true);
        return;
    case HotKey::StopPeriodic:
        RequestPeriodicCapture(false);
        return;
    default:
        // While the region screen or the picture window is up, the capture
        // under way is the user's: a method key does not replace it, just as
        // the capture key itself does nothing then.
        if (trigger_ && trigger_->CaptureUnderWay()) return;
        CaptureWith(static_cast<CaptureMethod>(*hotKey));
        return;
    }
}

void MainWindow::OnTrayIcon(UINT mouseMessage) {
    if (mouseMessage == WM_LBUTTONDOWN) {
        if (IsWindowVisible(Handle()))
            ShowWindow(Handle(), SW_HIDE);
        else
            Reveal();
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        // In front, so that the menu closes when the user clicks elsewhere.
        SetForegroundWindow(Handle());
        for (int i = 0; i < kCaptureMethodCount; ++i)
            trayMenu_.SetChecked(i, methodRadios_[i]->Checked());
        trayMenu_.Popup(Handle(), ui::CursorPosition());
    }
}

void MainWindow::OnHeaderMouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::Left || IsZoomed(Handle())) return;
    // Moving by the caption: the system runs its move loop with the mouse
    // until the button is released, as if the header were a title bar.
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE + HTCAPTION, 0);
}

void MainWindow::OnDestroy() {
    trayIcon_.reset();
    configFile_.reset();
    hotKeys_.reset();
}

void MainWindow::PaintBackground(HDC dc, const RECT& client) {
    HostWindow::PaintBackground(dc, client);
    ui::UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc, &body_, white.Get());
}

LRESULT MainWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            LayoutPanels(LOWORD(lParam), HIWORD(lParam));
            if (configFile_) OnResize();
        }
        break;
    case WM_CLOSE:
        DisableHotKeyHook();
        GetMouseDown();
        // A tracked capture under way leaves the mouse hook on; the program
        // releases it rather than leave a system-wide hook to die with it.
        DisableMouseHook();
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        OnDestroy();
        PostQuitMessage(0);
        return 0;
    case WM_HOTKEY:
        OnHotKey(lParam);
        return 0;
    case kReportHotKeysMessage:
        ReportRefusedHotKeys();
        return 0;
    case TrayIcon::kCallbackMessage:
        OnTrayIcon(static_cast<UINT>(lParam));
        return 0;
    default:
        // The shell restarted and forgot the icon: without it the program,
        // hidden in the tray, could not be reached.
        if (message == taskbarCreatedMessage_ && trayIcon_) trayIcon_->Restore();
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace capture
