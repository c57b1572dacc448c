#include "picture/PictureWindow.h"

#include "picture/PictureMath.h"
#include "picture/Rendering.h"
#include "ui/Monitors.h"
#include "ui/Application.h"
#include "controls/Skin.h"
#include "ui/Clipboard.h"
#include "ui/Event.h"
#include "imaging/ImageWriters.h"
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
    {L"Marks", L"ICON_MARKS", 688, 73},
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
        {Command::Marks, &PictureWindow::OnMarks},
    };
    // Every command first ends a text being typed, so that Save and Copy
    // take it along and Zoom and Cutter work on a finished picture.
    for (const auto& [command, handler] : commands)
        toolbar_->Button(command).OnClick = [this, handler](ui::Control&) {
            editor_.Finish();
            (this->*handler)();
        };

    metrics_ = MarkMetrics::ForWindow(Handle());
    toolStrip_ = std::make_unique<MarkToolStrip>(Handle(), metrics_);
    toolStrip_->Layout(toolbar_->ScaledHeight(), 819);
    toolStrip_->ToolChosen = [this](MarkKind tool) {
        // The chosen tool's button, pressed again, leaves it.
        ChooseTool(editor_.Tool() == tool ? std::nullopt : std::optional<MarkKind>(tool));
    };
    toolStrip_->ColourChosen = [this](COLORREF colour) {
        if (!editor_.Tool()) return;
        editor_.SetColour(*editor_.Tool(), colour);
        toolStrip_->ShowChoice(editor_.Tool(), colour);
        if (editor_.InProgress()) InvalidateMark(*editor_.InProgress());
    };
    editor_.Finished = [this](Mark mark) { OnMarkFinished(std::move(mark)); };
    pictureView_.OnMouseDown = [this](ui::Control&, ui::MouseButton button, ui::ShiftState, POINT at) {
        OnPictureMouse(WM_LBUTTONDOWN, button, at);
    };
    pictureView_.OnMouseMove = [this](ui::Control&, ui::ShiftState, POINT at) {
        OnPictureMouse(WM_MOUSEMOVE, ui::MouseButton::Left, at);
    };
    pictureView_.OnMouseUp = [this](ui::Control&, ui::MouseButton button, ui::ShiftState, POINT at) {
        OnPictureMouse(WM_LBUTTONUP, button, at);
    };

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
    pictureView_.SetBounds(left, top + (toolStrip_->Visible() ? toolStrip_->Height() : 0), w, h);
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
    originalPicture_ = shown;
    history_.Reset({std::move(shown), {}, {pictureView_.Width(), pictureView_.Height()}});
    // A new picture starts without a tool, as the window first opened.
    editor_.Cancel();
    ChooseTool(std::nullopt);
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
    editor_.Cancel();
    pictureView_.SetPicture(ui::Bitmap());
    originalPicture_.reset();
    history_.Clear();
}

const ui::Bitmap& PictureWindow::MasterPicture() const {
    static const ui::Bitmap none;
    return history_.Empty() || !history_.Current().master ? none : *history_.Current().master;
}

void PictureWindow::RenderShown(int width, int height) {
    static const std::vector<Mark> noMarks;
    ui::Bitmap picture =
        RenderMarked(MasterPicture(), history_.Empty() ? noMarks : history_.Current().marks, width, height);
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
    RenderShown(w, h);
}

void PictureWindow::OnZoomOut() { RenderShown(ZoomOutSide(pictureView_.Width()), ZoomOutSide(pictureView_.Height())); }

void PictureWindow::OnOriginalSize() {
    const ui::Bitmap& master = MasterPicture();
    RenderShown(master.Width(), master.Height());
}

void PictureWindow::OnRestore() {
    if (history_.Empty()) return;
    // Back to the unmarked picture as first shown, as a step that Undo takes back.
    const MarkedPicture& now = history_.Current();
    if (now.master != originalPicture_ || !now.marks.empty())
        PushStep({originalPicture_, {}, {originalPicture_->Width(), originalPicture_->Height()}});
    OnOriginalSize();
}

void PictureWindow::OnStartCrop() {
    // The Cutter ends the tool.
    ChooseTool(std::nullopt);
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
    if (!frame || history_.Empty()) return;
    const int w = frame->right - frame->left, h = frame->bottom - frame->top;
    const ui::Bitmap& master = MasterPicture();
    const SIZE shown{pictureView_.Width(), pictureView_.Height()};
    // The cut is taken from the picture as shown, zoomed, but without its
    // marks: they come along as marks, so that they stay below redactions
    // drawn later and go with Undo. What lies outside the displayed picture
    // is the window's grey.
    ui::Bitmap cut(w, h, master.BitsPerPixel());
    ui::UniqueBrush grey(CreateSolidBrush(kGrey));
    const RECT all{0, 0, w, h};
    FillRect(cut.Canvas(), &all, grey.Get());
    const POINT from{frame->left - pictureView_.Left(), frame->top - pictureView_.Top()};
    StretchNearestPart(master, shown, from, cut);
    MarkTransform intoCut = ZoomTransform(master, shown.cx, shown.cy);
    intoCut.offsetX = -from.x;
    intoCut.offsetY = -from.y;
    std::vector<Mark> marks = CarryMarks(history_.Current().marks, intoCut, {w, h});
    PushStep({std::make_shared<const ui::Bitmap>(std::move(cut)), std::move(marks), {w, h}});
    RenderShown(w, h);
}

void PictureWindow::PushStep(MarkedPicture next) {
    history_.Current().shown = {pictureView_.Width(), pictureView_.Height()};
    history_.Push(std::move(next));
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
    ShiftContent(dx, dy);
    SetScrollPos(Handle(), SB_HORZ, x, TRUE);
    SetScrollPos(Handle(), SB_VERT, y, TRUE);
}

void PictureWindow::ShiftContent(int dx, int dy) {
    // Scrolling and the tool strip move the picture and the frame; the
    // toolbar stays put.
    for (ui::Control* control : {static_cast<ui::Control*>(&pictureView_), static_cast<ui::Control*>(&cropOutline_)})
        control->SetBounds(control->Left() + dx, control->Top() + dy, control->Width(), control->Height());
    if (cropController_) cropController_->PlaceHandles(cropOutline_.Bounds());
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
        if (toolStrip_) toolStrip_->Layout(toolbar_->ScaledHeight(), LOWORD(lParam));
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
    case WM_KEYDOWN:
        if (OnKey(wParam)) return 0;
        break;
    case WM_CHAR:
        // Ctrl+Z and the other control keys arrive as characters too; only
        // printable ones are typed.
        if (editor_.Typing() && wParam >= L' ') {
            const Mark before = *editor_.InProgress();
            editor_.Type(static_cast<wchar_t>(wParam));
            InvalidateMark(before);
            InvalidateMark(*editor_.InProgress());
            return 0;
        }
        break;
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
