#include "app/MainWindow.h"

#include "app/TrayIcon.h"
#include "controls/Skin.h"
#include "ui/Application.h"
#include "ui/Event.h"
#include "ui/Resources.h"

#include <shellapi.h>

namespace app {

using ui::Raise;

using capture::CaptureMethod;
using capture::kCaptureMethodCount;

namespace {

// The layout's fixed sizes, in pixels.
constexpr int kDesignWidth = 613, kDesignHeight = 481;
constexpr int kHeaderHeight = 135, kFooterHeight = 45;
constexpr int kHeaderLeftWidth = 333, kHeaderRightWidth = 180;
constexpr int kFooterLeftWidth = 227, kFooterRightWidth = 69;
constexpr int kRightEdgeWidth = 15, kLeftEdgeWidth = 8, kInnerEdgeWidth = 5;
constexpr int kBodyPictureWidth = 353;

} // namespace

MainWindow::MainWindow() {
    const ui::Scale scale(ui::SystemDpi());
    const int large = scale.Px(32), small = scale.Px(16);
    icon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, large, large, 0)));
    smallIcon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, small, small, 0)));
    ui::WindowClassArgs windowClass{.name = kMainWindowClass, .icon = icon_.Get(), .smallIcon = smallIcon_.Get()};
    ui::WindowCreateArgs args{.caption = L"Snapora",
                              .style = WS_POPUP | WS_CLIPCHILDREN,
                              .x = 355,
                              .y = 153,
                              .width = kDesignWidth,
                              .height = kDesignHeight};
    CreateHandle(windowClass, args);
    CreateControls();
    LoadSkin();
    // Selected Region is the method at start-up.
    SelectMethod(CaptureMethod::SelectedRegion);
    created_ = true;

    const RECT client = ClientRect();
    LayoutPanels(client.right, client.bottom);
    OnResize();
    // Laid out at the design DPI first, then at the monitor's.
    FollowMonitorDpi();
}

void MainWindow::CreateControls() {
    const HFONT font = controls::SkinFont();
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
        controls::SkinnedButtonLook look;
        std::function<void()> onClick;
    };
    const COLORREF white = RGB(255, 255, 255);
    const HeaderButton headerButtons[] = {
        {captureButton_, {{8, 40, 81, 100}, L"ICON_CAPTURE", L"Capture", white}, [this] { Raise(CaptureRequested); }},
        {optionsButton_, {{88, 40, 161, 100}, L"ICON_OPTIONS", L"Options", white}, [this] { Raise(OptionsRequested); }},
        {suspendButton_, {{160, 40, 233, 100}, L"ICON_SUSPEND", L"Suspend", white}, [this] { OnSuspend(); }},
        {homeButton_, {{248, 40, 321, 100}, L"ICON_HOME", L"Home", white}, [this] { OnHome(); }},
        {helpButton_, {{463, 41, 528, 101}, L"ICON_HELP", L"Help", white}, [this] { OnHelp(); }},
    };
    for (const HeaderButton& b : headerButtons) {
        controls::ApplySkin(b.button, b.look);
        b.button.OnClick = [onClick = b.onClick](ui::Control&) { onClick(); };
        AddControl(b.button);
    }
    leftSeparator_.SetBounds(80, 50, 1, 40);
    rightSeparator_.SetBounds(240, 50, 1, 40);
    AddControl(leftSeparator_);
    AddControl(rightSeparator_);

    minimizeButton_.SetBounds(0, 0, 25, 31);
    closeButton_.SetBounds(0, 0, 25, 31);
    AddControl(minimizeButton_);
    AddControl(closeButton_);
    closeButton_.OnClick = [this](ui::Control&) { Close(); };
    minimizeButton_.OnClick = [this](ui::Control&) { OnMinimize(); };

    switchToSuspendButton_.SetCaption(L"Switch to Suspend>>");
    moreButton_.SetCaption(L"More>>");
    for (ui::FlatButton* flat : {&switchToSuspendButton_, &moreButton_}) {
        flat->Font = font;
        flat->TextColor = RGB(0, 0, 0);
        AddControl(*flat);
    }
    // "More>>" opens the help, as "Help" does.
    moreButton_.OnClick = [this](ui::Control&) { OnHelp(); };
    switchToSuspendButton_.OnClick = [this](ui::Control&) { OnSuspend(); };

    // The native controls sit on the white body.
    auto args = [&](const wchar_t* text) {
        return ui::NativeControlArgs{.text = text, .font = font, .background = white};
    };
    for (int i = 0; i < kCaptureMethodCount; ++i) {
        const auto method = static_cast<CaptureMethod>(i);
        methodRadios_[i].emplace(*this, args(capture::MethodCaption(method)));
        methodRadios_[i]->OnClick = [this, method] { Raise(MethodChosen, method); };
    }
    periodicCheck_.emplace(*this, args(L"Real Time Capture"));
    periodicCheck_->OnClick = [this] { Raise(PeriodicSwitchClicked, periodicCheck_->Checked()); };
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
    // Drawn for the scale nearest to the window's.
    for (const Piece& piece : pieces) {
        auto loaded = controls::LoadSkinBitmap(piece.resource, Dpi());
        piece.image.SetPicture(std::move(loaded.picture));
        piece.image.SetPictureDpi(loaded.dpi);
    }
    // The title-bar buttons' three looks each, cut out of one strip.
    const auto titleButtons = controls::LoadSkinBitmap(L"TITLE_BUTTONS", Dpi());
    controls::SkinTitleButton(minimizeButton_, titleButtons, 0, 0, 27, 20);
    controls::SkinTitleButton(closeButton_, titleButtons, 55, 0, 24, 20);
}
void MainWindow::LayoutPanels(int width, int height) {
    // Header on top, footer at the bottom, the right edge between them, the
    // body filling the rest, each piece at its design size or stretched.
    const ui::Scale scale = DpiScale();
    const int headerHeight = scale.Px(kHeaderHeight), footerHeight = scale.Px(kFooterHeight);
    const int headerLeftWidth = scale.Px(kHeaderLeftWidth), headerRightWidth = scale.Px(kHeaderRightWidth);
    const int footerLeftWidth = scale.Px(kFooterLeftWidth), footerRightWidth = scale.Px(kFooterRightWidth);
    const int leftEdgeWidth = scale.Px(kLeftEdgeWidth), innerEdgeWidth = scale.Px(kInnerEdgeWidth);
    const int footerTop = height - footerHeight;
    const int bodyHeight = footerTop - headerHeight;
    const int bodyRight = width - scale.Px(kRightEdgeWidth);
    headerLeft_.SetBounds(0, 0, headerLeftWidth, headerHeight);
    headerRight_.SetBounds(width - headerRightWidth, 0, headerRightWidth, headerHeight);
    headerMiddle_.SetBounds(headerLeftWidth, 0, width - headerLeftWidth - headerRightWidth, headerHeight);
    rightEdge_.SetBounds(bodyRight, headerHeight, width - bodyRight, bodyHeight);
    body_ = {0, headerHeight, bodyRight, footerTop};
    leftEdge_.SetBounds(0, headerHeight, leftEdgeWidth, bodyHeight);
    innerEdge_.SetBounds(leftEdgeWidth, headerHeight, innerEdgeWidth, bodyHeight);
    const int pictureLeft = bodyRight - scale.Px(kBodyPictureWidth);
    bodyPicture_.SetBounds(pictureLeft, headerHeight, bodyRight - pictureLeft, bodyHeight);
    hotKeyPanel_.Place(width, height, {pictureLeft, headerHeight});
    footerLeft_.SetBounds(0, footerTop, footerLeftWidth, footerHeight);
    footerRight_.SetBounds(width - footerRightWidth, footerTop, footerRightWidth, footerHeight);
    footerMiddle_.SetBounds(footerLeftWidth, footerTop, width - footerLeftWidth - footerRightWidth, footerHeight);
    const auto place = [&](ui::Control& control, RECT design) {
        const RECT r = scale.Px(design);
        control.SetBounds(r);
    };
    place(switchToSuspendButton_, {424, kHeaderHeight + 184, 424 + 137, kHeaderHeight + 184 + 22});
    place(moreButton_, {424, kHeaderHeight + 272, 424 + 73, kHeaderHeight + 272 + 22});

    if (!methodGroup_) return;
    const int groupLeft = leftEdgeWidth + innerEdgeWidth;
    MoveWindow(methodGroup_->Handle(), groupLeft, headerHeight, pictureLeft - groupLeft, bodyHeight, TRUE);
    // The radio buttons 40 pixels from the group's left edge, at these tops;
    // the check box below them.
    const auto move = [&](HWND control, RECT design) {
        const RECT r = scale.Px(design);
        MoveWindow(control, r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    };
    constexpr int kGroupLeft = kLeftEdgeWidth + kInnerEdgeWidth;
    constexpr int kRadioTops[kCaptureMethodCount] = {40, 80, 120, 154, 192};
    for (int i = 0; i < kCaptureMethodCount; ++i) {
        const int top = kHeaderHeight + kRadioTops[i];
        move(methodRadios_[i]->Handle(), {kGroupLeft + 40, top, kGroupLeft + 40 + 113, top + 17});
    }
    move(periodicCheck_->Handle(), {kGroupLeft + 40, kHeaderHeight + 232, kGroupLeft + 40 + 137, kHeaderHeight + 249});
}

void MainWindow::PlaceTitleButtons() {
    const ui::Scale scale = DpiScale();
    const int width = WindowRect().right - WindowRect().left;
    minimizeButton_.BringToFront();
    minimizeButton_.SetBounds(width - scale.Px(68), scale.Px(6), scale.Px(25), scale.Px(31));
    closeButton_.BringToFront();
    closeButton_.SetBounds(width - scale.Px(43), scale.Px(6), scale.Px(25), scale.Px(31));
}

void MainWindow::LayoutScaled() {
    LoadSkin();
    const RECT client = ClientRect();
    LayoutPanels(client.right, client.bottom);
    if (created_) OnResize();
}

void MainWindow::OnResize() {
    const RECT window = WindowRect();
    const int width = window.right - window.left, height = window.bottom - window.top;
    // The system owns the region once it is set, so it is not deleted here.
    const int corner = DpiScale().Px(6);
    HRGN outline = CreateRoundRectRgn(0, 0, width + 1, height + 1, corner, corner);
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

void MainWindow::SelectMethod(CaptureMethod method) { methodRadios_[static_cast<int>(method)]->SetChecked(true); }

void MainWindow::Reveal() {
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void MainWindow::ToggleShown() {
    if (IsWindowVisible(Handle()))
        ShowWindow(Handle(), SW_HIDE);
    else
        Reveal();
}

void MainWindow::Close() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void MainWindow::OnHome() { ShellExecuteW(Handle(), nullptr, kHomePageAddress, nullptr, nullptr, SW_SHOWNORMAL); }

void MainWindow::OnHelp() {
    // The help file lies beside the executable; a missing one is not reported.
    const std::wstring help = ui::ExecutableFolder() + L"capture.chm";
    ShellExecuteW(Handle(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::OnSuspend() {
    Raise(SuspendPanelRequested);
    ShowWindow(Handle(), SW_HIDE);
}

void MainWindow::OnMinimize() {
    // Nothing to report if either step fails: the tray icon still reaches
    // the program.
    try {
        ShowWindow(Handle(), SW_HIDE);
        Raise(SuspendPanelRequested);
    } catch (...) {
    }
}

void MainWindow::OnHeaderMouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::Left || IsZoomed(Handle())) return;
    // Moving by the caption: the system runs its move loop with the mouse
    // until the button is released, as if the header were a title bar.
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE + HTCAPTION, 0);
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
            if (created_) OnResize();
        }
        break;
    case WM_CLOSE:
        Raise(Closing);
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        Raise(Destroyed);
        return 0;
    case WM_HOTKEY:
        Raise(HotKeyPressed, lParam);
        return 0;
    case TrayIcon::kCallbackMessage:
        Raise(TrayIconMessage, static_cast<UINT>(lParam));
        return 0;
    case WM_WTSSESSION_CHANGE:
        Raise(SessionChanged, wParam);
        return 0;
    case WM_POWERBROADCAST:
        Raise(PowerBroadcast, wParam, lParam);
        return TRUE;
    default:
        if (message == taskbarCreatedMessage_) Raise(TaskbarCreated);
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace app
