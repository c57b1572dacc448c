#include "region/RegionScreen.h"

#include "picture/PictureMath.h"
#include "region/RubberBand.h"
#include "ui/Application.h"
#include "controls/Skin.h"
#include "ui/Cursor.h"
#include "ui/Event.h"
#include "ui/Resources.h"

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
    Invalidate();
}

void SelectionSizeLabel::Paint(HDC dc) {
    ui::UniqueBrush back(CreateSolidBrush(RGB(0x8B, 0xD2, 0xED)));
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, back.Get());
    ui::ScopedSelect font(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutW(dc, 1, 0, widthText_.c_str(), static_cast<int>(widthText_.size()));
    TextOutW(dc, 0, 11, heightText_.c_str(), static_cast<int>(heightText_.size()));
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
    frozenScreen_.OnMouseDown = [this](ui::Control&, ui::MouseButton, ui::ShiftState, POINT) { OnSelectionStart(); };
    frozenScreen_.OnMouseMove = [this](ui::Control&, ui::ShiftState, POINT) { OnSelectionDrag(); };
    frozenScreen_.OnMouseUp = [this](ui::Control&, ui::MouseButton, ui::ShiftState shift, POINT) {
        // The selection ends with the last button let go.
        if (!shift.left && !shift.right && !shift.middle) OnSelectionEnd();
    };
    AddControl(frozenScreen_);
    sizeLabel_.SetBounds(61, 46, 37, 22);
    sizeLabel_.SetVisible(false);
    AddControl(sizeLabel_);
}

void RegionScreen::ShowFrozen(const ui::Bitmap& frozen) {
    // The screen's origin is the picture's and the window's.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, w, h, SWP_SHOWWINDOW);
    frozenScreen_.SetBounds(0, 0, w, h);
    frozenScreen_.SetPicture(frozen);
    SetForegroundWindow(Handle());
}

void RegionScreen::OnSelectionStart() {
    // A second button pressed during a drag changes nothing.
    if (sizeLabel_.Visible()) return;
    startPoint_ = ui::CursorPosition();
    lastPoint_ = startPoint_;
    sizeLabel_.SetVisible(true);
}

void RegionScreen::OnSelectionDrag() {
    if (!sizeLabel_.Visible()) return;
    const POINT p = ui::CursorPosition();
    sizeLabel_.SetTexts(L"X:" + std::to_wstring(std::abs(p.x - startPoint_.x)),
                        L"Y:" + std::to_wstring(std::abs(p.y - startPoint_.y)));
    sizeLabel_.SetBounds(p.x + 5, p.y + 5, sizeLabel_.Width(), sizeLabel_.Height());

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

void RegionScreen::OnSelectionEnd() {
    if (!sizeLabel_.Visible()) return;
    endPoint_ = ui::CursorPosition();
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
