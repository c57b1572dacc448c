#include "region/uDisplay.h"

#include "capture/FrmCapture.h"
#include "picture/uSave.h"
#include "region/RubberBand.h"
#include "ui/Application.h"
#include "ui/Resources.h"

#include <algorithm>
#include <cstdlib>

TFrmDisplay* FrmDisplay = nullptr;
POINT StartPoint{0, 0}, LastPoint{0, 0}, EndPoint{0, 0};

namespace {

POINT CursorPos() {
    POINT at{};
    GetCursorPos(&at);
    return at;
}

// The pixels a five-vertex outline with these corners touches.
RECT OutlineArea(POINT a, POINT b) {
    const RECT r = region::NormalizedRegion(a, b);
    return {r.left, r.top, r.right + 1, r.bottom + 1};
}

} // namespace

TCoordinatePanel::TCoordinatePanel() : font_(ui::CreateFontOf(L"\u5B8B\u4F53", 12, GB2312_CHARSET)) {}

void TCoordinatePanel::SetTexts(std::wstring x, std::wstring y) {
    LbX = std::move(x);
    LbY = std::move(y);
    Invalidate();
}

void TCoordinatePanel::Paint(HDC dc) {
    ui::UniqueBrush back(CreateSolidBrush(RGB(0x8B, 0xD2, 0xED)));
    const RECT all{0, 0, Width(), Height()};
    FillRect(dc, &all, back.Get());
    ui::ScopedSelect font(dc, font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 255));
    TextOutW(dc, 1, 0, LbX.c_str(), static_cast<int>(LbX.size()));
    TextOutW(dc, 0, 11, LbY.c_str(), static_cast<int>(LbY.size()));
}

TFrmDisplay::TFrmDisplay() {
    CreateHost(L"TFrmDisplay", {.caption = L"Snapora",
                                .style = WS_POPUP,
                                .exStyle = WS_EX_TOPMOST | WS_EX_TOOLWINDOW,
                                .x = 0,
                                .y = 0,
                                .width = GetSystemMetrics(SM_CXSCREEN),
                                .height = GetSystemMetrics(SM_CYSCREEN),
                                .parent = ui::App().HiddenOwner()});
    Image1.Cursor = LoadCursorW(nullptr, IDC_CROSS);
    Image1.OnMouseDown = [this](ui::Control&, ui::MouseButton, ui::ShiftState, POINT) { Image1MouseDown(); };
    Image1.OnMouseMove = [this](ui::Control&, ui::ShiftState, POINT) { Image1MouseMove(); };
    Image1.OnMouseUp = [this](ui::Control&, ui::MouseButton, ui::ShiftState shift, POINT) {
        // The selection ends with the last button let go.
        if (!shift.left && !shift.right && !shift.middle) Image1MouseUp();
    };
    AddControl(Image1);
    Panel1.SetBounds(61, 46, 37, 22);
    Panel1.SetVisible(false);
    AddControl(Panel1);
}

void TFrmDisplay::ShowFrozen(const ui::Bitmap& frozen) {
    // The screen's origin is the picture's and the window's.
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, w, h, SWP_SHOWWINDOW);
    Image1.SetBounds(0, 0, w, h);
    Image1.SetPicture(frozen);
    SetForegroundWindow(Handle());
}

void TFrmDisplay::Image1MouseDown() {
    // A second button pressed during a drag changes nothing.
    if (Panel1.Visible()) return;
    StartPoint = CursorPos();
    LastPoint = StartPoint;
    Panel1.SetVisible(true);
}

void TFrmDisplay::Image1MouseMove() {
    if (!Panel1.Visible()) return;
    const POINT p = CursorPos();
    Panel1.SetTexts(L"X:" + std::to_wstring(std::abs(p.x - StartPoint.x)),
                    L"Y:" + std::to_wstring(std::abs(p.y - StartPoint.y)));
    Panel1.SetBounds(p.x + 5, p.y + 5, Panel1.Width(), Panel1.Height());

    HDC canvas = Image1.Picture().Canvas();
    region::DrawXorOutline(canvas, StartPoint, LastPoint);
    region::DrawXorOutline(canvas, StartPoint, p);
    GdiFlush();
    RECT changed = OutlineArea(StartPoint, LastPoint);
    const RECT now = OutlineArea(StartPoint, p);
    UnionRect(&changed, &changed, &now);
    Invalidate(&changed);
    LastPoint = p;
}

void TFrmDisplay::Image1MouseUp() {
    if (!Panel1.Visible()) return;
    if (FrmCapture && FrmCapture->rdRegion->Checked()) {
        EndPoint = CursorPos();
        FrmSave->ShowRegionPicture(Image1.Picture(), StartPoint, EndPoint);
    }
    Panel1.SetVisible(false);
    // The picture window comes in front of this screen and takes the input
    // until it is closed; then this screen goes too.
    FrmSave->ShowModal();
    ShowWindow(Handle(), SW_HIDE);
}
