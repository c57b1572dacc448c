#include "capture/FrmCapture.h"

#include "capture/CaptureKey.h"
#include "hook/hook.h"
#include "ui/Application.h"
#include "ui/Resources.h"

TFrmCapture* FrmCapture = nullptr;

const char* const HomePageAddress = "https://velonix.example/capture/";

namespace {

// The layout's fixed sizes, in pixels.
constexpr int kDesignWidth = 613, kDesignHeight = 481;
constexpr int kHeaderHeight = 135, kFooterHeight = 45;
constexpr int kHeaderLeftWidth = 333, kHeaderRightWidth = 180;
constexpr int kFooterLeftWidth = 227, kFooterRightWidth = 69;
constexpr int kRightEdgeWidth = 15, kLeftEdgeWidth = 8, kInnerEdgeWidth = 5;
constexpr int kBodyPictureWidth = 353;

} // namespace

TFrmCapture::TFrmCapture() {
    icon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, 32, 32, 0)));
    smallIcon_.Reset(static_cast<HICON>(LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, 16, 16, 0)));
    ui::WindowClassArgs windowClass{.name = L"TFrmCapture", .icon = icon_.Get(), .smallIcon = smallIcon_.Get()};
    ui::WindowCreateArgs args{.caption = L"Snapora",
                              .style = WS_POPUP | WS_CLIPCHILDREN,
                              .x = 355,
                              .y = 153,
                              .width = kDesignWidth,
                              .height = kDesignHeight};
    CreateHandle(windowClass, args);
    CreateControls();
    LoadSkin();
    FormCreate();
    const RECT client = ClientRect();
    LayoutPanels(client.right, client.bottom);
    FormResize();
}

TFrmCapture::~TFrmCapture() {
    // Normally the window was closed and FormDestroy has run; a window still
    // up when the object goes gives back its tray icon and hotkeys here.
    if (Handle()) FormDestroy();
}

void TFrmCapture::CreateControls() {
    // The form's font: 12-pixel SimSun in the GB2312 character set.
    font_ = ui::CreateFontOf(L"\u5B8B\u4F53", 12, GB2312_CHARSET);
    Color = GetSysColor(COLOR_BTNFACE);

    for (ui::Image* image : {&Image2, &Image4, &Image3, &Image9, &Image7, &Image10, &Image8, &Image1, &Image6, &Image5})
        AddControl(*image);
    for (ui::Image* stretched : {&Image4, &Image9, &Image7, &Image10, &Image6})
        stretched->SetStretch(true);
    for (ui::Image* header : {&Image2, &Image3, &Image4})
        header->OnMouseDown = [this](ui::Control&, ui::MouseButton button, ui::ShiftState, POINT) {
            ImageMouseDown(button);
        };

    struct HeaderButton {
        controls::PngButton& button;
        const wchar_t* caption;
        const wchar_t* picture;
        int x, y, w, h;
    };
    const HeaderButton headerButtons[] = {
        {PNGButton1, L"Capture", L"ICON_CAPTURE", 8, 40, 73, 60},
        {PNGButton2, L"Options", L"ICON_OPTIONS", 88, 40, 73, 60},
        {PNGButton3, L"Suspend", L"ICON_SUSPEND", 160, 40, 73, 60},
        {PNGButton9, L"Home", L"ICON_HOME", 248, 40, 73, 60},
        {PNGButton10, L"Help", L"ICON_HELP", 463, 41, 65, 60},
    };
    for (const HeaderButton& b : headerButtons) {
        b.button.SetBounds(b.x, b.y, b.w, b.h);
        b.button.SetButtonStyle(controls::PngButton::FrameStyle::NoFrame);
        b.button.SetFont(L"Verdana", 11, RGB(255, 255, 255));
        b.button.SetCaption(b.caption);
        b.button.SetImageNormal(ui::PngImage::FromResource(b.picture));
        b.button.Cursor = LoadCursorW(nullptr, IDC_HAND);
        AddControl(b.button);
    }
    PNGButton4.SetBounds(80, 50, 1, 40);
    PNGButton5.SetBounds(240, 50, 1, 40);
    AddControl(PNGButton4);
    AddControl(PNGButton5);
    PNGButton1.OnClick = [this](ui::Control&) { PNGButton1Click(); };
    PNGButton9.OnClick = [this](ui::Control&) { PNGButton9Click(); };
    PNGButton10.OnClick = [this](ui::Control&) { PNGButton10Click(); };

    ImgBtnMin.SetBounds(0, 0, 25, 31);
    ImgBtnClose.SetBounds(0, 0, 25, 31);
    AddControl(ImgBtnMin);
    AddControl(ImgBtnClose);
    ImgBtnClose.OnClick = [this](ui::Control&) { ImgBtnCloseClick(); };

    SpeedButton2.SetCaption(L"Switch to Suspend>>");
    SpeedButton1.SetCaption(L"More>>");
    for (ui::FlatButton* flat : {&SpeedButton2, &SpeedButton1}) {
        flat->Font = font_.Get();
        flat->TextColor = RGB(0, 0, 0);
        AddControl(*flat);
    }
    SpeedButton1.OnClick = [this](ui::Control&) { SpeedButton1Click(); };

    // The native controls sit on the white body.
    const COLORREF white = RGB(255, 255, 255);
    auto args = [&](const wchar_t* text) {
        return ui::NativeControlArgs{.text = text, .font = font_.Get(), .background = white};
    };
    rdFullScreen.emplace(*this, args(L"Full Screen"));
    rdActiveWindow.emplace(*this, args(L"Active Window"));
    rdObject.emplace(*this, args(L"Object"));
    rdRegion.emplace(*this, args(L"Selected Region"));
    rdFixRegion.emplace(*this, args(L"Fixed Region"));
    CheckBox1.emplace(*this, args(L"Real Time Capture"));
    GroupBox1.emplace(*this, args(L"Capture Method"));
    // The frame lies under the buttons it holds.
    SetWindowPos(GroupBox1->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    rdFullScreen->OnClick = [this] { rdFullScreenClick(); };
    rdActiveWindow->OnClick = [this] { rdActiveWindowClick(); };
    rdObject->OnClick = [this] { rdObjectClick(); };
    rdRegion->OnClick = [this] { rdRegionClick(); };
    rdFixRegion->OnClick = [this] { rdFixRegionClick(); };
    Timer1.OnTimer = [this] { Timer1Timer(); };
}

void TFrmCapture::LoadSkin() {
    struct Piece {
        ui::Image& image;
        const wchar_t* resource;
    };
    const Piece pieces[] = {
        {Image2, L"HEADER_LEFT"},   {Image4, L"HEADER_MIDDLE"}, {Image3, L"HEADER_RIGHT"},  {Image9, L"EDGE_RIGHT"},
        {Image7, L"EDGE_LEFT"},     {Image10, L"EDGE_INNER"},   {Image8, L"BODY_PICTURE"},  {Image1, L"FOOTER_LEFT"},
        {Image6, L"FOOTER_MIDDLE"}, {Image5, L"FOOTER_RIGHT"},  {ImageM, L"TITLE_BUTTONS"},
    };
    for (const Piece& piece : pieces)
        piece.image.SetPicture(ui::LoadBitmapResource(piece.resource));
}

void TFrmCapture::LayoutPanels(int width, int height) {
    // Header on top, footer at the bottom, the right edge between them, the
    // body filling the rest, each piece at its design size or stretched.
    const int footerTop = height - kFooterHeight;
    const int bodyHeight = footerTop - kHeaderHeight;
    const int bodyRight = width - kRightEdgeWidth;
    Image2.SetBounds(0, 0, kHeaderLeftWidth, kHeaderHeight);
    Image3.SetBounds(width - kHeaderRightWidth, 0, kHeaderRightWidth, kHeaderHeight);
    Image4.SetBounds(kHeaderLeftWidth, 0, width - kHeaderLeftWidth - kHeaderRightWidth, kHeaderHeight);
    Image9.SetBounds(bodyRight, kHeaderHeight, kRightEdgeWidth, bodyHeight);
    body_ = {0, kHeaderHeight, bodyRight, footerTop};
    Image7.SetBounds(0, kHeaderHeight, kLeftEdgeWidth, bodyHeight);
    Image10.SetBounds(kLeftEdgeWidth, kHeaderHeight, kInnerEdgeWidth, bodyHeight);
    const int pictureLeft = bodyRight - kBodyPictureWidth;
    Image8.SetBounds(pictureLeft, kHeaderHeight, kBodyPictureWidth, bodyHeight);
    Image1.SetBounds(0, footerTop, kFooterLeftWidth, kFooterHeight);
    Image5.SetBounds(width - kFooterRightWidth, footerTop, kFooterRightWidth, kFooterHeight);
    Image6.SetBounds(kFooterLeftWidth, footerTop, width - kFooterLeftWidth - kFooterRightWidth, kFooterHeight);
    SpeedButton2.SetBounds(424, kHeaderHeight + 184, 137, 22);
    SpeedButton1.SetBounds(424, kHeaderHeight + 272, 73, 22);
    ImageM.SetBounds(0, 0, 108, 59);

    if (!GroupBox1) return;
    const int groupLeft = kLeftEdgeWidth + kInnerEdgeWidth;
    const int groupWidth = pictureLeft - groupLeft;
    MoveWindow(GroupBox1->Handle(), groupLeft, kHeaderHeight, groupWidth, bodyHeight, TRUE);
    struct Placed {
        ui::NativeControl& control;
        int x, y, w, h;
    };
    const Placed placed[] = {
        {*rdFullScreen, 40, 40, 113, 17}, {*rdActiveWindow, 40, 80, 113, 17}, {*rdObject, 40, 120, 113, 17},
        {*rdRegion, 40, 154, 113, 17},    {*rdFixRegion, 40, 192, 113, 17},   {*CheckBox1, 40, 232, 137, 17},
    };
    for (const Placed& p : placed)
        MoveWindow(p.control.Handle(), groupLeft + p.x, kHeaderHeight + p.y, p.w, p.h, TRUE);
}

void TFrmCapture::PlaceTitleButtons() {
    const int width = WindowRect().right - WindowRect().left;
    ImgBtnMin.BringToFront();
    ImgBtnMin.SetBounds(width - 68, 6, ImgBtnMin.Width(), ImgBtnMin.Height());
    ImgBtnClose.BringToFront();
    ImgBtnClose.SetBounds(width - 43, 6, ImgBtnClose.Width(), ImgBtnClose.Height());
}

void TFrmCapture::FormCreate() {
    // Painting is double-buffered by the host window itself.
    RegisterHotKeys();

    TrayIconData = {};
    // The first version of the record (icon, tip, callback) is all that is
    // used; its size is taken from the platform's headers, since the record
    // is larger in a 64-bit program than in a 32-bit one.
    TrayIconData.cbSize = NOTIFYICONDATAA_V1_SIZE;
    TrayIconData.hWnd = Handle();
    TrayIconData.uID = 1;
    TrayIconData.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    TrayIconData.uCallbackMessage = WM_TRAYICON;
    TrayIconData.hIcon = smallIcon_.Get();
    lstrcpynA(TrayIconData.szTip, "Velonix Capture", sizeof TrayIconData.szTip);
    Shell_NotifyIconA(NIM_ADD, &TrayIconData);

    EnableHotKeyHook();
    SelectMethod(*rdRegion);
    Timer2.SetEnabled(false);
    PanelImageVisible = false;

    PlaceTitleButtons();
    LoadImgBtnSkin(ImgBtnMin, ImageM.Picture(), 0, 0, 27, 20);
    LoadImgBtnSkin(ImgBtnClose, ImageM.Picture(), 55, 0, 24, 20);

    ConfigFile = std::make_unique<settings::IniFile>(settings::ConfigFilePath());
    LoadOptions();
}

void TFrmCapture::LoadOptions() {
    settings::LoadOptions(*ConfigFile, *this);
    if (StartupSuspend) ui::App().SetShowMainForm(false);
}

void TFrmCapture::FormResize() {
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

void TFrmCapture::FormClose() {
    DisableHotKeyHook();
    GetMouseDown();
    // A tracked capture under way leaves the mouse hook on; the program
    // releases it rather than leave a system-wide hook to die with it.
    DisableMouseHook();
}

void TFrmCapture::FormDestroy() {
    if (TrayIconData.cbSize) Shell_NotifyIconA(NIM_DELETE, &TrayIconData);
    TrayIconData.cbSize = 0;
    ConfigFile.reset();
    UnregisterHotKeys();
}

void TFrmCapture::PNGButton9Click() {
    ShellExecuteA(Handle(), nullptr, HomePageAddress, nullptr, nullptr, SW_SHOWNORMAL);
}

void TFrmCapture::PNGButton10Click() {
    // The help file lies beside the executable; a missing one is not reported.
    const std::wstring folder = ui::ExecutableFolder();
    const std::wstring help = folder + L"capture.chm";
    ShellExecuteW(Handle(), L"open", help.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TFrmCapture::SpeedButton1Click() { PNGButton10Click(); }

void TFrmCapture::ImgBtnCloseClick() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TFrmCapture::Exit1Click() { SendMessageW(Handle(), WM_CLOSE, 0, 0); }

void TFrmCapture::ImageMouseDown(ui::MouseButton button) {
    if (button != ui::MouseButton::Left || IsZoomed(Handle())) return;
    // Moving by the caption: the system runs its move loop with the mouse
    // until the button is released, as if the header were a title bar.
    ReleaseCapture();
    SendMessageW(Handle(), WM_SYSCOMMAND, SC_MOVE + HTCAPTION, 0);
}

void TFrmCapture::PaintBackground(HDC dc, const RECT& client) {
    HostWindow::PaintBackground(dc, client);
    ui::UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
    FillRect(dc, &body_, white.Get());
}

LRESULT TFrmCapture::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED) {
            LayoutPanels(LOWORD(lParam), HIWORD(lParam));
            if (ConfigFile) FormResize();
        }
        break;
    case WM_CLOSE:
        FormClose();
        DestroyWindow(Handle());
        return 0;
    case WM_DESTROY:
        FormDestroy();
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}
