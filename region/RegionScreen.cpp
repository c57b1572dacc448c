#include "region/RegionScreen.h"

#include "picture/PictureMath.h"
#include "region/RubberBand.h"
#include "ui/Application.h"
#include "controls/Skin.h"
#include "ui/Cursor.h"
#include "ui/Event.h"
#include "ui/Resources.h"

#include <algorithm>
#include <cstdlib>

namespace region {

namespace {

// Posted to the screen when a selection ends, so that the picture window is
// opened from the message loop rather than from inside the mouse routing.
constexpr UINT kSelectionDoneMessage = WM_APP + 1;

// The pixels a five-vertex outline with these corners touches.
RECT OutlineArea(POINT a, POINT b) {
    const RECT r = picture::NormalizedRegion(a, b);
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

} // namespace

SelectionSizeLabel::SelectionSizeLabel() : font_(controls::SkinFont()) {}

void SelectionSizeLabel::SetTexts(std::wstring width, std::wstring height) {
    widthText_ = std::move(width);
    heightText_ = std::move(height);
    // The lines are stacked a font's height apart, each a pixel in from the
    // left; the label keeps its size while they fit it.
    const SIZE first = ui::TextExtent(font_, widthText_), second = ui::TextExtent(font_, heightText_);
    const int needWidth = std::max(first.cx, second.cx) + 1, needHeight = first.cy + second.cy;
    if (needWidth > Width() || needHeight > Height())
        SetBounds(Left(), Top(), std::max(Width(), needWidth), std::max(Height(), needHeight));
    Invalidate();
}

void SelectionSizeLabel::ScaleContent(int, int toDpi) { font_ = controls::SkinFont(toDpi); }

void SelectionSizeLabel::Paint(HDC dc) {
    ui::UniqueBrush back(CreateSolidBrush(RGB(0x8B, 0xD2, 0xED)));
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, back.Get());
    ui::ScopedSelect font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutW(dc, 1, 0, widthText_.c_str(), static_cast<int>(widthText_.size()));
    const int lineHeight = ui::TextExtent(font_, widthText_).cy;
    TextOutW(dc, 1, lineHeight, heightText_.c_str(), static_cast<int>(heightText_.size()));
}

RegionScreen::RegionScreen() {
    CreateHost(kRegionScreenClass, {.caption = L"Snapora",
                                    .style = WS_POPUP,
                                    .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                    .x = 0,
                                    .y = 0,
                                    .width = GetSystemMetrics(SM_CXSCREEN),
                                    .height = GetSystemMetrics(SM_CYSCREEN),
                                    .parent = ui::App().HiddenOwner()});
    frozenScreen_.Cursor = LoadCursorW(nullptr, IDC_CROSS);
    frozenScreen_.OnMouseDown = [this](ui::Control&, ui::MouseButton, ui::ShiftState, POINT at) {
        OnSelectionStart(at);
    };
    frozenScreen_.OnMouseMove = [this](ui::Control&, ui::ShiftState, POINT at) { OnSelectionDrag(at); };
    frozenScreen_.OnMouseUp = [this](ui::Control&, ui::MouseButton, ui::ShiftState shift, POINT at) {
        // The selection ends with the last button let go.
        if (!shift.left && !shift.right && !shift.middle) OnSelectionEnd(at);
    };
    AddControl(frozenScreen_);
    sizeLabel_.SetBounds(61, 46, 37, 22);
    sizeLabel_.SetVisible(false);
    AddControl(sizeLabel_);
}

void RegionScreen::Cover(const RECT& screenArea) {
    screenArea_ = screenArea;
    monitors_ = ui::Monitors();
    const int w = screenArea.right - screenArea.left, h = screenArea.bottom - screenArea.top;
    SetWindowPos(Handle(), HWND_TOPMOST, screenArea.left, screenArea.top, w, h, SWP_SHOWWINDOW);
    // The label by the cursor at the scale of the screen; the picture
    // beneath stays in the screen's own pixels.
    ScaleLayoutTo(ui::WindowDpi(Handle()));
    frozenScreen_.SetBounds(0, 0, w, h);
}

void RegionScreen::ShowFrozen(const ui::Bitmap& frozen, const RECT& screenArea) {
    Cover(screenArea);
    frozenScreen_.SetPicture(frozen);
    SetForegroundWindow(Handle());
}

void RegionScreen::ShowFrozen(ui::Bitmap&& frozen, const RECT& screenArea) {
    Cover(screenArea);
    frozenScreen_.SetPicture(std::move(frozen));
    SetForegroundWindow(Handle());
}

void RegionScreen::OnSelectionStart(POINT at) {
    // A second button pressed during a drag changes nothing.
    if (sizeLabel_.Visible()) return;
    startPoint_ = at;
    lastPoint_ = startPoint_;
    sizeLabel_.SetVisible(true);
}

void RegionScreen::OnSelectionDrag(POINT at) {
    if (!sizeLabel_.Visible()) return;
    const POINT p = at;
    sizeLabel_.SetTexts(L"X:" + std::to_wstring(std::abs(p.x - startPoint_.x)),
                        L"Y:" + std::to_wstring(std::abs(p.y - startPoint_.y)));
    // Beside the cursor, but never across the edge of the monitor it is on.
    const POINT onScreen{p.x + screenArea_.left, p.y + screenArea_.top};
    const RECT monitor = ui::MonitorAt(monitors_, onScreen).bounds;
    const POINT label =
        ui::KeepInside({onScreen.x + 5, onScreen.y + 5}, sizeLabel_.Width(), sizeLabel_.Height(), monitor);
    sizeLabel_.SetBounds(label.x - screenArea_.left, label.y - screenArea_.top, sizeLabel_.Width(),
                         sizeLabel_.Height());

    HDC canvas = frozenScreen_.Picture().Canvas();
    DrawXorOutline(canvas, startPoint_, lastPoint_);
    DrawXorOutline(canvas, startPoint_, p);
    GdiFlush();
    RECT changed = OutlineArea(startPoint_, lastPoint_);
    const RECT now = OutlineArea(startPoint_, p);
    UnionRect(&changed, &changed, &now);
    Invalidate(&changed);
    lastPoint_ = p;
}

void RegionScreen::OnSelectionEnd(POINT at) {
    if (!sizeLabel_.Visible()) return;
    endPoint_ = at;
    sizeLabel_.SetVisible(false);
    PostMessageW(Handle(), kSelectionDoneMessage, 0, 0);
}

void RegionScreen::OnSelectionDone() {
    // The picture window comes in front of this screen and takes the input
    // until it is closed; then this screen goes too.
    // The screen goes also when the hand-off fails.
    struct HideAfterwards {
        HWND screen;
        ~HideAfterwards() { ShowWindow(screen, SW_HIDE); }
    } hide{Handle()};
    ui::Raise(RegionSelected, frozenScreen_.Picture(), startPoint_, endPoint_);
}

LRESULT RegionScreen::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kSelectionDoneMessage) {
        OnSelectionDone();
        return 0;
    }
    return HostWindow::HandleMessage(message, wParam, lParam);
}

} // namespace region
