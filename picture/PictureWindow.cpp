#include "picture/PictureWindow.h"

#include "picture/PictureMath.h"
#include "ui/Monitors.h"
#include "ui/Application.h"
#include "controls/Skin.h"
#include "ui/Clipboard.h"
#include "ui/Event.h"
#include "imaging/ImageWriters.h"
#include "imaging/Parallel.h"
#include "ui/Modal.h"
#include "ui/Resources.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <tuple>
#include <utility>
#include <vector>

namespace picture {

namespace {

const COLORREF kGrey = RGB(128, 128, 128);

struct ToolbarButton {
    const wchar_t* caption;
    const wchar_t* picture;
    int left;
    int width;
};

// In PictureToolbar::Command order.
const ToolbarButton kButtons[PictureToolbar::kCommandCount] = {
    {L"Save", L"ICON_SAVE", 8, 73},
    {L"Zoom In", L"ICON_ZOOMIN", 87, 73},
    {L"Zoom Out", L"ICON_ZOOMOUT", 167, 73},
    {L"Original", L"ICON_ORIGINAL", 255, 73},
    {L"Cutter", L"ICON_CUTTER", 336, 73},
    {L"Restore", L"ICON_RESTORE", 408, 73},
    {L"Copy to Clipboard", L"ICON_COPY", 488, 113},
    {L"Cancel", L"ICON_CANCEL", 608, 73},
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

// Draws the whole of source over the whole of destination (of the same
// depth) by nearest-neighbour sampling: each destination pixel takes the
// source pixel under its centre, so rows and columns are repeated or
// dropped, never blended. It works on the pixels directly rather than
// through StretchBlt, whose general stretching took most of a zoom step on
// a large picture, and on a large picture it shares the rows out between
// threads.
void StretchNearest(const ui::Bitmap& source, ui::Bitmap& destination) {
    if (source.Empty() || destination.Empty()) return;
    // Drawing through either canvas may still be queued in GDI.
    GdiFlush();
    const int sw = source.Width(), sh = source.Height(), dw = destination.Width(), dh = destination.Height();
    const int pixelBytes = source.BitsPerPixel() / 8;
    const std::size_t rowBytes = static_cast<std::size_t>(dw) * pixelBytes;
    const auto sample = [](int at, int from, int to) {
        return static_cast<int>(std::min<long long>(from - 1, (2LL * at + 1) * from / (2LL * to)));
    };
    // The byte offset in a source row of each destination column.
    std::vector<int> columns(static_cast<std::size_t>(dw));
    for (int x = 0; x < dw; ++x)
        columns[static_cast<std::size_t>(x)] = sample(x, sw, dw) * pixelBytes;
    const auto stretchRows = [&](int first, int end) {
        int lastSource = -1;
        for (int y = first; y < end; ++y) {
            const int sy = sample(y, sh, dh);
            std::uint8_t* to = destination.Row(y);
            // A repeated source row is the row just made, copied whole.
            if (sy == lastSource) {
                std::memcpy(to, destination.Row(y - 1), rowBytes);
                continue;
            }
            lastSource = sy;
            const std::uint8_t* from = source.Row(sy);
            if (sw == dw) {
                std::memcpy(to, from, rowBytes);
            } else if (pixelBytes == 4) {
                for (int x = 0; x < dw; ++x)
                    std::memcpy(to + 4 * x, from + columns[static_cast<std::size_t>(x)], 4);
            } else {
                for (int x = 0; x < dw; ++x)
                    std::memcpy(to + 3 * x, from + columns[static_cast<std::size_t>(x)], 3);
            }
        }
    };
    // Below a megapixel the pool's threads cost more than they save; above
    // it, bands of rows go to them.
    const int bands = static_cast<long long>(dw) * dh < 1024 * 1024 ? 1 : 8;
    imaging::RunInParallel(bands, 0, [&](int band) { stretchRows(dh * band / bands, dh * (band + 1) / bands); });
}

} // namespace

PictureToolbar::PictureToolbar(HWND parent) {
    CreateHost(kPictureToolbarClass, {.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                      .x = 0,
                                      .y = 0,
                                      .width = 819,
                                      .height = kHeight,
                                      .parent = parent});
    left_.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_LEFT"));
    middle_.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_MIDDLE"));
    middle_.SetStretch(true);
    right_.SetPicture(ui::LoadBitmapResource(L"TOOLBAR_RIGHT"));
    for (ui::Image* image : {&left_, &middle_, &right_})
        AddControl(*image);
    for (int i = 0; i < kCommandCount; ++i) {
        const ToolbarButton& entry = kButtons[i];
        controls::PngButton& button = buttons_[i];
        controls::ApplySkin(
            button,
            {{entry.left, 8, entry.left + entry.width, 8 + 60}, entry.picture, entry.caption, RGB(255, 255, 255)});
        AddControl(button);
    }
    Layout(819);
    FollowMonitorDpi();
}

void PictureToolbar::Layout(int width) {
    const ui::Scale scale = DpiScale();
    const int height = scale.Px(kHeight), leftWidth = scale.Px(333), rightWidth = scale.Px(104);
    SetBounds(0, 0, width, height);
    left_.SetBounds(0, 0, leftWidth, height);
    right_.SetBounds(width - rightWidth, 0, rightWidth, height);
    middle_.SetBounds(leftWidth, 0, std::max(0, width - leftWidth - rightWidth), height);
}

PictureWindow::PictureWindow() {
    Color = kGrey;
    CreateHost(kPictureWindowClass, {.caption = L"Snapora - Save Picture",
                                     .style = WS_OVERLAPPEDWINDOW | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN,
                                     .x = 195,
                                     .y = 122,
                                     .width = 819,
                                     .height = 539});
    // Each size from its own picture in the icon file: the caption shows the
    // small one, which the system would otherwise shrink from the large.
    // Shared icons belong to the module and are never destroyed.
    for (const auto& [which, width, height] :
         {std::tuple{ICON_BIG, SM_CXICON, SM_CYICON}, std::tuple{ICON_SMALL, SM_CXSMICON, SM_CYSMICON}}) {
        if (HANDLE icon = LoadImageW(ui::App().Module(), L"MAINICON", IMAGE_ICON, GetSystemMetrics(width),
                                     GetSystemMetrics(height), LR_SHARED))
            SendMessageW(Handle(), WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
    }
    toolbar_ = std::make_unique<PictureToolbar>(Handle());
    using Command = PictureToolbar::Command;
    const std::pair<Command, void (PictureWindow::*)()> commands[] = {
        {Command::Save, &PictureWindow::OnSave},        {Command::ZoomIn, &PictureWindow::OnZoomIn},
        {Command::ZoomOut, &PictureWindow::OnZoomOut},  {Command::Original, &PictureWindow::OnOriginalSize},
        {Command::Cutter, &PictureWindow::OnStartCrop}, {Command::Restore, &PictureWindow::OnRestore},
        {Command::Copy, &PictureWindow::OnCopy},        {Command::Cancel, &PictureWindow::OnCancel},
    };
    for (const auto& [command, handler] : commands)
        toolbar_->Button(command).OnClick = [this, handler](ui::Control&) { (this->*handler)(); };

    pictureView_.SetBounds(24, 118, 233, 198);
    AddControl(pictureView_);
    cropOutline_.PenColor = RGB(128, 0, 128);
    cropOutline_.PenWidth = 2;
    cropOutline_.PenMode = R2_MASKPEN;
    cropOutline_.SetBounds(24, 120, 153, 129);
    cropOutline_.SetVisible(false);
    AddControl(cropOutline_);

    saveDialog_.Filter = L"JPEG File|*.jpg|PNG File|*.png|Bitmap File|*.bmp";
    saveDialog_.FilterIndex = 1;
    saveDialog_.DefaultExt = L".jpg";
    UpdateScrollBars();
}

PictureWindow::~PictureWindow() { cropController_.reset(); }

void PictureWindow::SetOuterSize(int width, int height) {
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
    } else {
        SetWindowPos(Handle(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void PictureWindow::PlacePicture(int left, int top, ui::Bitmap&& picture) {
    // A new picture starts unscrolled.
    ScrollTo(0, 0);
    const int w = picture.Width(), h = picture.Height();
    pictureView_.SetPicture(std::move(picture));
    pictureView_.SetBounds(left, top, w, h);
    UpdateScrollBars();
    Invalidate();
}

void PictureWindow::LoadPicture(const ui::Bitmap& picture) {
    SetOuterSize(picture.Width() + 55, picture.Height() + toolbar_->ScaledHeight() + 75);
    ui::Bitmap copy;
    copy.Assign(picture);
    PlacePicture(20, toolbar_->ScaledHeight() + 20, std::move(copy));
}

void PictureWindow::LoadRegionPicture(const ui::Bitmap& frozen, POINT start, POINT end) {
    ui::Bitmap region = CropRegion(frozen, start, end);
    SetOuterSize(region.Width() + 55, region.Height() + toolbar_->ScaledHeight() + 75);
    PlacePicture(20, toolbar_->ScaledHeight() + 20, std::move(region));
}

void PictureWindow::LoadScreenPicture(const ui::Bitmap& screen) {
    ui::Bitmap copy;
    copy.Assign(screen);
    LoadScreenPicture(std::move(copy));
}

void PictureWindow::LoadScreenPicture(ui::Bitmap&& screen) {
    // The window's restored size is the grab's: a monitor's, or the whole
    // virtual screen's; placed on a monitor, it is fitted to its work area.
    SetOuterSize(screen.Width(), screen.Height());
    PlacePicture(1, toolbar_->ScaledHeight() + 1, std::move(screen));
}

void PictureWindow::ShowOnMonitorOf(const RECT& screenArea) { ui::PlaceOnMonitorOf(Handle(), screenArea); }

void PictureWindow::Present() {
    if (!IsWindowVisible(Handle())) ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    OnShow();
    SetForegroundWindow(Handle());
}

void PictureWindow::ShowModal() {
    // A window that is open cannot become modal: take it down first, quietly,
    // since the capture that brings the new picture keeps the trigger disarmed
    // until this showing is closed.
    if (IsWindowVisible(Handle())) ShowWindow(Handle(), SW_HIDE);

    // Every other window of the program is disabled while this one is up.
    ui::ModalScope modal(Handle());
    Present();
    // In front of the always-on-top region screen, which stays up beneath it.
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ui::App().RunModalLoop([this] { return !IsWindowVisible(Handle()); });
    SetWindowPos(Handle(), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void PictureWindow::OnShow() {
    ShowWindow(Handle(), SW_SHOWMAXIMIZED);
    cropController_.reset();
    auto shown = std::make_shared<ui::Bitmap>();
    shown->Assign(pictureView_.Picture());
    originalPicture_ = masterPicture_ = std::move(shown);
    cropController_ = std::make_unique<CropFrameController>(Handle());
    cropController_->SetStepMode(true);
    cropController_->SetStepSize(4);
    cropController_->AddControl(cropOutline_);
    cropController_->SetHandlesVisible(false);
    cropOutline_.SetVisible(false);
    Invalidate();
}

void PictureWindow::OnClose() {
    ShowWindow(Handle(), SW_HIDE);
    ReleasePictures();
    ui::Raise(Closed);
}

void PictureWindow::ReleasePictures() {
    pictureView_.SetPicture(ui::Bitmap());
    originalPicture_.reset();
    masterPicture_.reset();
}

const ui::Bitmap& PictureWindow::MasterPicture() const {
    static const ui::Bitmap none;
    return masterPicture_ ? *masterPicture_ : none;
}

void PictureWindow::RenderFrom(const ui::Bitmap& source, int width, int height) {
    ui::Bitmap picture(width, height, source.BitsPerPixel());
    StretchNearest(source, picture);
    pictureView_.SetPicture(std::move(picture));
    pictureView_.SetBounds(pictureView_.Left(), pictureView_.Top(), width, height);
    UpdateScrollBars();
    Invalidate();
}

void PictureWindow::OnZoomIn() {
    const int w = ZoomInSide(pictureView_.Width()), h = ZoomInSide(pictureView_.Height());
    if (w > kMaxZoomSide || h > kMaxZoomSide) {
        ui::App().ShowMessage(L"The picture cannot be enlarged further: it would be larger than " +
                                  std::to_wstring(kMaxZoomSide) + L" pixels on a side.",
                              MB_OK | MB_ICONINFORMATION);
        return;
    }
    RenderFrom(MasterPicture(), w, h);
}

void PictureWindow::OnZoomOut() {
    RenderFrom(MasterPicture(), ZoomOutSide(pictureView_.Width()), ZoomOutSide(pictureView_.Height()));
}

void PictureWindow::OnOriginalSize() {
    const ui::Bitmap& master = MasterPicture();
    RenderFrom(master, master.Width(), master.Height());
}

void PictureWindow::OnRestore() {
    masterPicture_ = originalPicture_;
    OnOriginalSize();
}

void PictureWindow::OnStartCrop() {
    cropOutline_.SetVisible(true);
    cropController_->SetHandlesVisible(true);
    cropOutline_.BringToFront();
}

void PictureWindow::OnCancel() { PostMessageW(Handle(), WM_CLOSE, 0, 0); }

void PictureWindow::OnCopy() {
    ui::CopyBitmapToClipboard(pictureView_.Picture(), Handle());
    ui::App().ShowMessage(L"The picture is copied to the clipboard!", MB_OK);
}

void PictureWindow::OnSave() {
    if (!saveDialog_.Execute(Handle())) return;
    if (const std::wstring ext = imaging::FileExtension(saveDialog_.FileName); !ext.empty()) {
        saveDialog_.DefaultExt = ext;
        // The file type follows too: the dialog appends the type's own
        // extension to a bare name, so the two must agree for the next save.
        if (const int index = FilterIndexOf(saveDialog_.Filter, ext)) saveDialog_.FilterIndex = index;
    }
    imaging::WritePictureFile(pictureView_.Picture(), saveDialog_.FileName);
}

void PictureWindow::OnDoubleClick(POINT client) {
    if (!cropOutline_.Visible()) return;
    const auto frame =
        CropRectangle(cropOutline_.Left(), cropOutline_.Top(), cropOutline_.Width(), cropOutline_.Height());
    if (!frame || !PtInRect(&*frame, client)) return;
    CutPicture();
    cropController_->SetHandlesVisible(false);
    cropOutline_.SetVisible(false);
}

void PictureWindow::CutPicture() {
    const auto frame =
        CropRectangle(cropOutline_.Left(), cropOutline_.Top(), cropOutline_.Width(), cropOutline_.Height());
    if (!frame) return;
    const int w = frame->right - frame->left, h = frame->bottom - frame->top;
    const ui::Bitmap& shown = pictureView_.Picture();
    ui::Bitmap cut(w, h, shown.BitsPerPixel());
    // What lies outside the displayed picture is the window's grey.
    HDC dc = cut.Canvas();
    ui::UniqueBrush grey(CreateSolidBrush(kGrey));
    const RECT all{0, 0, w, h};
    FillRect(dc, &all, grey.Get());
    const RECT source{frame->left - pictureView_.Left(), frame->top - pictureView_.Top(),
                      frame->right - pictureView_.Left(), frame->bottom - pictureView_.Top()};
    const RECT picture{0, 0, shown.Width(), shown.Height()};
    RECT inside;
    if (IntersectRect(&inside, &source, &picture))
        BitBlt(dc, inside.left - source.left, inside.top - source.top, inside.right - inside.left,
               inside.bottom - inside.top, shown.Canvas(), inside.left, inside.top, SRCCOPY);
    GdiFlush();
    ui::Bitmap displayed;
    displayed.Assign(cut);
    masterPicture_ = std::make_shared<const ui::Bitmap>(std::move(cut));
    pictureView_.SetPicture(std::move(displayed));
    pictureView_.SetBounds(pictureView_.Left(), pictureView_.Top(), w, h);
    UpdateScrollBars();
    Invalidate();
}

void PictureWindow::UpdateScrollBars() {
    const RECT client = ClientRect();
    // The scrolling range reaches the picture's far edges, in unscrolled coordinates.
    const int contentW = pictureView_.Left() + std::max(0, pictureView_.Width()) + scroll_.x;
    const int contentH = pictureView_.Top() + std::max(0, pictureView_.Height()) + scroll_.y;
    const auto setBar = [this](int bar, int content, int page, int pos) {
        SCROLLINFO info{sizeof info,
                        SIF_RANGE | SIF_PAGE | SIF_POS,
                        0,
                        content > page ? content - 1 : 0,
                        static_cast<UINT>(std::max(0, page)),
                        pos,
                        0};
        SetScrollInfo(Handle(), bar, &info, TRUE);
    };
    setBar(SB_HORZ, contentW, static_cast<int>(client.right), scroll_.x);
    setBar(SB_VERT, contentH, static_cast<int>(client.bottom), scroll_.y);
    // A window that grew may now show everything: bring the picture back.
    const int maxX = std::max(0, contentW - static_cast<int>(client.right));
    const int maxY = std::max(0, contentH - static_cast<int>(client.bottom));
    if (scroll_.x > maxX || scroll_.y > maxY) ScrollTo(std::min<int>(scroll_.x, maxX), std::min<int>(scroll_.y, maxY));
}

void PictureWindow::ScrollTo(int x, int y) {
    const int dx = scroll_.x - x, dy = scroll_.y - y;
    if (dx == 0 && dy == 0) return;
    scroll_ = {x, y};
    // Scrolling moves the picture and the frame; the toolbar stays put.
    for (ui::Control* control : {static_cast<ui::Control*>(&pictureView_), static_cast<ui::Control*>(&cropOutline_)})
        control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
    if (cropController_) cropController_->PlaceHandles(cropOutline_.Bounds());
    SetScrollPos(Handle(), SB_HORZ, x, TRUE);
    SetScrollPos(Handle(), SB_VERT, y, TRUE);
    Invalidate();
}

void PictureWindow::OnScroll(int bar, WORD request) {
    SCROLLINFO info{sizeof info, SIF_ALL};
    GetScrollInfo(Handle(), bar, &info);
    int pos = info.nPos;
    const int line = 20, page = static_cast<int>(info.nPage);
    switch (request) {
    case SB_LINEUP:
        pos -= line;
        break;
    case SB_LINEDOWN:
        pos += line;
        break;
    case SB_PAGEUP:
        pos -= page;
        break;
    case SB_PAGEDOWN:
        pos += page;
        break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        pos = info.nTrackPos;
        break;
    case SB_TOP:
        pos = info.nMin;
        break;
    case SB_BOTTOM:
        pos = info.nMax;
        break;
    default:
        return;
    }
    pos = std::clamp(pos, 0, std::max(0, info.nMax - page + 1));
    if (bar == SB_HORZ)
        ScrollTo(pos, scroll_.y);
    else
        ScrollTo(scroll_.x, pos);
}

LRESULT PictureWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_SIZE:
        if (toolbar_) toolbar_->Layout(LOWORD(lParam));
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
    case WM_LBUTTONDBLCLK:
        // The double-click still reaches the control beneath afterwards.
        OnDoubleClick({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    default:
        break;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace picture
