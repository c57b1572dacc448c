#include "picture/uSave.h"

#include "capture/FrmCapture.h"
#include "hook/hook.h"
#include "picture/PictureMath.h"
#include "region/RubberBand.h"
#include "ui/Application.h"
#include "ui/Clipboard.h"
#include "ui/ImageWriters.h"
#include "ui/Resources.h"

#include <algorithm>
#include <vector>
#include <utility>

TFrmSave* FrmSave = nullptr;

namespace {

const COLORREF kGrey = RGB(128, 128, 128);

struct ToolbarButton {
    controls::PngButton TSaveToolbar::*button;
    const wchar_t* caption;
    const wchar_t* picture;
    int left;
    int width;
};

const ToolbarButton kButtons[] = {
    {&TSaveToolbar::PNGButton1, L"Save", L"ICON_SAVE", 8, 73},
    {&TSaveToolbar::PNGButton8, L"Zoom In", L"ICON_ZOOMIN", 87, 73},
    {&TSaveToolbar::PNGButton4, L"Zoom Out", L"ICON_ZOOMOUT", 167, 73},
    {&TSaveToolbar::PNGButton5, L"Original", L"ICON_ORIGINAL", 255, 73},
    {&TSaveToolbar::PNGButton9, L"Cutter", L"ICON_CUTTER", 336, 73},
    {&TSaveToolbar::PNGButton6, L"Restore", L"ICON_RESTORE", 408, 73},
    {&TSaveToolbar::PNGButton2, L"Copy to Clipboard", L"ICON_COPY", 488, 113},
    {&TSaveToolbar::PNGButton3, L"Cancel", L"ICON_CANCEL", 608, 73},
};

// The 1-based entry of a "Name|*.ext|..." filter whose pattern is "*" + ext
// (in any letter case), or 0 when there is none.
int FilterIndexOf(const std::wstring& filter, const std::wstring& ext) {
    const std::wstring wanted = L"*" + ext;
    size_t start = 0;
    for (int field = 0;; ++field) {
        const size_t end = filter.find(L'|', start);
        const std::wstring item = filter.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
        if (field % 2 == 1 && CompareStringOrdinal(item.c_str(), -1, wanted.c_str(), -1, TRUE) == CSTR_EQUAL)
            return field / 2 + 1;
        if (end == std::wstring::npos) return 0;
        start = end + 1;
    }
}

} // namespace

TSaveToolbar::TSaveToolbar(HWND parent) {
    CreateHost(L"TSaveToolbar", {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                 .x = 0,
                                 .y = 0,
                                 .width = 819,
                                 .height = TFrmSave::ToolbarHeight,
                                 .parent = parent});
    Image2.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_LEFT"));
    Image4.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_MIDDLE"));
    Image4.SetStretch(true);
    Image3.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_RIGHT"));
    for (ui::Image* image : {&Image2, &Image4, &Image3}) AddControl(*image);
    for (const ToolbarButton& entry : kButtons) {
        controls::PngButton& button = this->*entry.button;
        button.SetBounds(entry.left, 8, entry.width, 60);
        button.SetCaption(entry.caption);
        button.SetFont(L"Verdana", 11, RGB(255, 255, 255));
        button.SetImageNormal(ui::PngImage::FromResource(entry.picture));
        button.SetButtonStyle(controls::PngButton::FrameStyle::NoFrame);
        button.Cursor = LoadCursorW(nullptr, IDC_HAND);
        AddControl(button);
    }
    Layout(819);
}

void TSaveToolbar::Layout(int width) {
    SetBounds(0, 0, width, TFrmSave::ToolbarHeight);
    Image2.SetBounds(0, 0, 333, TFrmSave::ToolbarHeight);
    Image3.SetBounds(width - 104, 0, 104, TFrmSave::ToolbarHeight);
    Image4.SetBounds(333, 0, std::max(0, width - 333 - 104), TFrmSave::ToolbarHeight);
}

TFrmSave::TFrmSave() {
    Color = kGrey;
    CreateHost(L"TFrmSave", {.caption = L"Snapora - Save Picture",
                             .style = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN,
                             .x = 195,
                             .y = 122,
                             .width = 819,
                             .height = 539});
    if (HICON icon = LoadIconW(ui::App().Module(), L"MAINICON")) {
        SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    Panel1 = std::make_unique<TSaveToolbar>(Handle());
    Panel1->PNGButton1.OnClick = [this](ui::Control&) { PNGButton1Click(); };
    Panel1->PNGButton8.OnClick = [this](ui::Control&) { PNGButton8Click(); };
    Panel1->PNGButton4.OnClick = [this](ui::Control&) { PNGButton4Click(); };
    Panel1->PNGButton5.OnClick = [this](ui::Control&) { PNGButton5Click(); };
    Panel1->PNGButton9.OnClick = [this](ui::Control&) { PNGButton9Click(); };
    Panel1->PNGButton6.OnClick = [this](ui::Control&) { PNGButton6Click(); };
    Panel1->PNGButton2.OnClick = [this](ui::Control&) { PNGButton2Click(); };
    Panel1->PNGButton3.OnClick = [this](ui::Control&) { PNGButton3Click(); };

    Image1.SetBounds(24, 118, 233, 198);
    AddControl(Image1);
    Shape1.PenColor = RGB(128, 0, 128);
    Shape1.PenWidth = 2;
    Shape1.PenMode = R2_MASKPEN;
    Shape1.SetBounds(24, 120, 153, 129);
    Shape1.SetVisible(false);
    AddControl(Shape1);

    SaveDialog1.Filter = L"JPEG File|*.jpg|PNG File|*.png|Bitmap File|*.bmp";
    SaveDialog1.FilterIndex = 1;
    SaveDialog1.DefaultExt = L".jpg";
    UpdateScrollBars();
}

TFrmSave::~TFrmSave() {
    // The filter points at this window; it must not outlive it.
    ui::App().MessageFilter = nullptr;
    Drag.reset();
}

void TFrmSave::SetOuterSize(int width, int height) {
    // The size a restored window comes back to; the shown window is maximized.
    WINDOWPLACEMENT placement{sizeof placement};
    GetWindowPlacement(Handle(), &placement);
    RECT& r = placement.rcNormalPosition;
    r.right = r.left + width;
    r.bottom = r.top + height;
    if (!IsWindowVisible(Handle())) {
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(Handle(), &placement);
    } else if (IsZoomed(Handle())) {
        placement.showCmd = SW_SHOWMAXIMIZED;
        SetWindowPlacement(Handle(), &placement);
    }
    else
        SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFrmSave::PlaceImage(int left, int top, ui::Bitmap&& picture) {
    // A new picture starts unscrolled.
    ScrollTo(0, 0);
    const int w = picture.Width(), h = picture.Height();
    Image1.SetPicture(std::move(picture));
    Image1.SetBounds(left, top, w, h);
    UpdateScrollBars();
    Invalidate();
}

void TFrmSave::ShowPicture(const ui::Bitmap& picture) {
    SetOuterSize(picture.Width() + 55, picture.Height() + ToolbarHeight + 75);
    ui::Bitmap copy;
    copy.Assign(picture);
    PlaceImage(20, ToolbarHeight + 20, std::move(copy));
}

void TFrmSave::ShowRegionPicture(const ui::Bitmap& frozen, POINT start, POINT end) {
    ui::Bitmap region = region::CropRegion(frozen, start, end);
    SetOuterSize(region.Width() + 55, region.Height() + ToolbarHeight + 75);
    PlaceImage(20, ToolbarHeight + 20, std::move(region));
}

void TFrmSave::ShowScreenPicture(const ui::Bitmap& screen) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    SetOuterSize(w, h);
    ui::Bitmap copy(w, h, screen.BitsPerPixel());
    copy.CopyRect({0, 0, w, h}, screen, {0, 0, w, h});
    PlaceImage(1, ToolbarHeight + 1, std::move(copy));
}

void TFrmSave::ShowForm() {
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    FormShow();
    SetForegroundWindow(Handle());
}

void TFrmSave::ShowModal() {
    // A window that is open cannot become modal: take it down first, quietly,
    // since the capture that brings the new picture keeps the trigger disarmed
    // until this showing is closed.
    if (IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);

    // Every other window of the program is disabled while this one is up.
    std::vector<HWND> disabled;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* list = reinterpret_cast<std::vector<HWND>*>(lParam);
            if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) list->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&disabled));
    std::erase(disabled, Handle());
    for (HWND hwnd : disabled) EnableWindow(hwnd, FALSE);

    modal_ = true;
    ShowForm();
    // In front of the always-on-top region screen, which stays up beneath it.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ui::App().RunModalLoop([this] { return !IsWindowVisible(Handle()); });
    modal_ = false;
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (HWND hwnd : disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
}

void TFrmSave::FormShow() {
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    Drag.reset();
    RestoreBmp = std::make_unique<ui::Bitmap>();
    RestoreBmp->Assign(Image1.Picture());
    WorkBmp = std::make_unique<ui::Bitmap>();
    WorkBmp->Assign(Image1.Picture());
    Drag = std::make_unique<picture::CropFrameController>(Handle());
    Drag->SetStepMode(true);
    Drag->SetStepSize(4);
    Drag->AddControl(Shape1);
    Drag->SetHandlesVisible(false);
    ui::App().MessageFilter = [this](MSG& msg) { return AppMessageFilter(msg); };
    Shape1.SetVisible(false);
    Invalidate();
}

void TFrmSave::FormClose() {
    ShowWindow(Handle(), SW_HIDE);
    if (FrmCapture) FrmCapture->Timer1.SetEnabled(true);
    EnableHotKeyHook();
}

void TFrmSave::RenderFrom(const ui::Bitmap& source, int width, int height) {
    ui::Bitmap picture(width, height, source.BitsPerPixel());
    picture.CopyRect({0, 0, width, height}, source, {0, 0, source.Width(), source.Height()});
    Image1.SetPicture(std::move(picture));
    Image1.SetBounds(Image1.Left(), Image1.Top(), width, height);
    UpdateScrollBars();
    Invalidate();
}

void TFrmSave::PNGButton8Click() {
    const int w = picture::ZoomInSide(Image1.Width()), h = picture::ZoomInSide(Image1.Height());
    if (w > picture::kMaxZoomSide || h > picture::kMaxZoomSide) {
        ui::App().ShowMessage(L"The picture cannot be enlarged further: it would be larger than " +
                                  std::to_wstring(picture::kMaxZoomSide) + L" pixels on a side.",
                              MB_OK | MB_ICONINFORMATION);
        return;
    }
    RenderFrom(*WorkBmp, w, h);
}

void TFrmSave::PNGButton4Click() {
    RenderFrom(*WorkBmp, picture::ZoomOutSide(Image1.Width()), picture::ZoomOutSide(Image1.Height()));
}

void TFrmSave::PNGButton5Click() { RenderFrom(*WorkBmp, WorkBmp->Width(), WorkBmp->Height()); }

void TFrmSave::PNGButton6Click() {
    RenderFrom(*RestoreBmp, RestoreBmp->Width(), RestoreBmp->Height());
    WorkBmp->Assign(*RestoreBmp);
}

void TFrmSave::PNGButton9Click() {
    Shape1.SetVisible(true);
    Drag->SetHandlesVisible(true);
    Shape1.BringToFront();
}

void TFrmSave::PNGButton3Click() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void TFrmSave::PNGButton2Click() {
    ui::CopyBitmapToClipboard(Image1.Picture(), Handle());
    ui::App().ShowMessage(L"The picture is copied to the clipboard!", MB_OK);
}

void TFrmSave::PNGButton1Click() {
    if (!SaveDialog1.Execute(Handle())) return;
    if (const std::wstring ext = ui::FileExtension(SaveDialog1.FileName); !ext.empty()) {
        SaveDialog1.DefaultExt = ext;
        // The file type follows too: the dialog appends the type's own
        // extension to a bare name, so the two must agree for the next save.
        if (const int index = FilterIndexOf(SaveDialog1.Filter, ext)) SaveDialog1.FilterIndex = index;
    }
    ui::WritePictureFile(Image1.Picture(), SaveDialog1.FileName);
}

bool TFrmSave::AppMessageFilter(MSG& msg) {
    if (msg.message != WM_LBUTTONDBLCLK || msg.hwnd != Handle() || !Shape1.Visible()) return false;
    POINT at = msg.pt;
    ScreenToClient(Handle(), &at);
    const auto frame = picture::CropRectangle(Shape1.Left(), Shape1.Top(), Shape1.Width(), Shape1.Height());
    if (!frame || !PtInRect(&*frame, at)) return false;
    CutPicture();
    Drag->SetHandlesVisible(false);
    Shape1.SetVisible(false);
    return false;
}

void TFrmSave::CutPicture() {
    const auto frame = picture::CropRectangle(Shape1.Left(), Shape1.Top(), Shape1.Width(), Shape1.Height());
    if (!frame) return;
    const int w = frame->right - frame->left, h = frame->bottom - frame->top;
    const ui::Bitmap& shown = Image1.Picture();
    ui::Bitmap cut(w, h, shown.BitsPerPixel());
    // What lies outside the displayed picture is the window's grey.
    HDC dc = cut.Canvas();
    ui::UniqueBrush grey(CreateSolidBrush(kGrey));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, grey.Get());
    const RECT source{frame->left - Image1.Left(), frame->top - Image1.Top(), frame->right - Image1.Left(),
                      frame->bottom - Image1.Top()};
    const RECT picture{0, 0, shown.Width(), shown.Height()};
    RECT inside;
    if (IntersectRect(&inside, &source, &picture))
        BitBlt(dc, inside.left - source.left, inside.top - source.top, inside.right - inside.left,
               inside.bottom - inside.top, shown.Canvas(), inside.left, inside.top, SRCCOPY);
    GdiFlush();
    WorkBmp = std::make_unique<ui::Bitmap>(std::move(cut));
    ui::Bitmap displayed;
    displayed.Assign(*WorkBmp);
    Image1.SetPicture(std::move(displayed));
    Image1.SetBounds(Image1.Left(), Image1.Top(), w, h);
    UpdateScrollBars();
    Invalidate();
}

void TFrmSave::UpdateScrollBars() {
    const RECT client = ClientRect();
    // The scrolling range reaches the picture's far edges, in unscrolled coordinates.
    const int contentW = Image1.Left() + std::max(0, Image1.Width()) + scroll_.x;
    const int contentH = Image1.Top() + std::max(0, Image1.Height()) + scroll_.y;
    const auto setBar = [this](int bar, int content, int page, int pos) {
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, content > page ? content - 1 : 0,
                        static_cast<UINT>(std::max(0, page)), pos, 0};
        SetScrollInfo(Handle(), bar, &info, TRUE);
    };
    setBar(SB_HORZ, contentW, static_cast<int>(client.right), scroll_.x);
    setBar(SB_VERT, contentH, static_cast<int>(client.bottom), scroll_.y);
    // A window that grew may now show everything: bring the picture back.
    const int maxX = std::max(0, contentW - static_cast<int>(client.right));
    const int maxY = std::max(0, contentH - static_cast<int>(client.bottom));
    if (scroll_.x > maxX || scroll_.y > maxY) ScrollTo(std::min<int>(scroll_.x, maxX), std::min<int>(scroll_.y, maxY));
}

void TFrmSave::ScrollTo(int x, int y) {
    const int dx = scroll_.x - x, dy = scroll_.y - y;
    if (dx == 0 && dy == 0) return;
    scroll_ = {x, y};
    // Scrolling moves the picture and the frame; the toolbar stays put.
    for (ui::Control* control : {static_cast<ui::Control*>(&Image1), static_cast<ui::Control*>(&Shape1)})
        control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
    if (Drag) Drag->PlaceHandles(Shape1.Bounds());
    SetScrollPos(Handle(), SB_HORZ, x, TRUE);
    SetScrollPos(Handle(), SB_VERT, y, TRUE);
    Invalidate();
}

void TFrmSave::OnScroll(int bar, WORD request) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(Handle(), bar, &info);
    int pos = info.nPos;
    const int line = 20, page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP: pos -= line; break;
    case SB_LINEDOWN: pos += line; break;
    case SB_PAGEUP: pos -= page; break;
    case SB_PAGEDOWN: pos += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: pos = info.nTrackPos; break;
    case SB_TOP: pos = info.nMin; break;
    case SB_BOTTOM: pos = info.nMax; break;
    default: return;
    }
    pos = std::clamp(pos, 0, std::max(0, info.nMax - page + 1));
    if (bar == SB_HORZ)
        ScrollTo(pos, scroll_.y);
    else
        ScrollTo(scroll_.x, pos);
}

LRESULT TFrmSave::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        FormClose();
        return 0;
    case WM_SIZE:
        if (Panel1) Panel1->Layout(LOWORD(lParam));
        UpdateScrollBars();
        break;
    case WM_HSCROLL:
        OnScroll(SB_HORZ, LOWORD(wParam));
        return 0;
    case WM_VSCROLL:
        OnScroll(SB_VERT, LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnScroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? SB_LINEUP : SB_LINEDOWN);
        return 0;
    default:
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}
