// The capture cycle: arming and disarming the trigger, selecting a method,
// and the dispatcher that turns a capture key into a picture.
#include "capture/CaptureKey.h"
#include "capture/FrameGeometry.h"
#include "capture/FrmCapture.h"
#include "capture/Grab.h"
#include "capture/SelectRect.h"
#include "hook/hook.h"
#include "picture/uSave.h"
#include "region/uDisplay.h"
#include "ui/Application.h"

bool Tracking = false;

void TFrmCapture::ActiveHotKey() {
    EndTracking();
    EnableHotKeyHook();
    Timer1.SetEnabled(true);
}

void TFrmCapture::InActiveHotKey() {
    DisableHotKeyHook();
    Timer1.SetEnabled(false);
}

void TFrmCapture::EndTracking() {
    if (!Tracking) return;
    Tracking = false;
    if (FrmSelectRect) ShowWindow(FrmSelectRect->Handle(), SW_HIDE);
    DisableMouseHook();
    SetMouseDown(false);
}

CaptureMethod TFrmCapture::SelectedMethod() const {
    if (rdFullScreen->Checked()) return CaptureMethod::FullScreen;
    if (rdActiveWindow->Checked()) return CaptureMethod::ActiveWindow;
    if (rdObject->Checked()) return CaptureMethod::Object;
    if (rdFixRegion->Checked()) return CaptureMethod::FixedRegion;
    return CaptureMethod::SelectedRegion;
}

void TFrmCapture::SelectMethod(ui::RadioButton& method) { method.SetChecked(true); }

void TFrmCapture::rdFullScreenClick() {
    SelectMethod(*rdFullScreen);
    ActiveHotKey();
}
void TFrmCapture::rdActiveWindowClick() {
    SelectMethod(*rdActiveWindow);
    ActiveHotKey();
}
void TFrmCapture::rdObjectClick() {
    SelectMethod(*rdObject);
    ActiveHotKey();
}
void TFrmCapture::rdRegionClick() {
    SelectMethod(*rdRegion);
    ActiveHotKey();
}
void TFrmCapture::rdFixRegionClick() {
    SelectMethod(*rdFixRegion);
    ActiveHotKey();
}

// The tray menu keeps its own check marks; each item then selects its method
// and types the capture key, which the next tick of Timer1 takes up.
void TFrmCapture::FullScreen1Click() {
    rdFullScreenClick();
    SendCaptureKey();
}
void TFrmCapture::ActiveWindow1Click() {
    rdActiveWindowClick();
    SendCaptureKey();
}
void TFrmCapture::Object1Click() {
    rdObjectClick();
    SendCaptureKey();
}
void TFrmCapture::SelectedRegion1Click() {
    rdRegionClick();
    SendCaptureKey();
}
void TFrmCapture::FixedRegion1Click() {
    rdFixRegionClick();
    SendCaptureKey();
}

void TFrmCapture::PNGButton1Click() {
    ActiveHotKey();
    SendCaptureKey();
}

void TFrmCapture::GrabScreen(ui::Bitmap& work) const {
    capture::GetFullScreenBmp(work);
    if (IncludeCursor) capture::DrawCursorToBmp(work);
}

void TFrmCapture::Timer1Timer() {
    // The picture of the screen for this tick; grabbing sizes it to the
    // display, so an idle tick allocates nothing.
    ui::Bitmap work;
    const CaptureMethod method = SelectedMethod();

    if (GetDownHotKey()) {
        switch (method) {
        case CaptureMethod::SelectedRegion:
            GrabScreen(work);
            InActiveHotKey();
            FrmDisplay->ShowFrozen(work);
            break;
        case CaptureMethod::FullScreen:
            GrabScreen(work);
            InActiveHotKey();
            FrmSave->ShowScreenPicture(work);
            FrmSave->ShowForm();
            break;
        case CaptureMethod::Object:
            Tracking = true;
            EnableMouseHook();
            DisableHotKeyHook();
            break;
        case CaptureMethod::ActiveWindow: {
            ui::Bitmap destination;
            GrabScreen(work);
            capture::GetActiveWindowBmp(work, destination);
            FrmSave->ShowPicture(destination);
            InActiveHotKey();
            FrmSave->ShowForm();
            break;
        }
        case CaptureMethod::FixedRegion:
            // A box of 10 pixels or less has no inside to capture; say so
            // instead of showing a frame that would capture a black picture.
            if (FixedRegionWidth < capture::kMinFixedRegionSide || FixedRegionHeight < capture::kMinFixedRegionSide) {
                InActiveHotKey();
                ui::App().ShowMessage(L"The fixed region is too small to capture (" + std::to_wstring(FixedRegionWidth) +
                                          L" x " + std::to_wstring(FixedRegionHeight) +
                                          L" pixels). Set its width and height in Options.",
                                      MB_OK | MB_ICONINFORMATION);
                ActiveHotKey();
                return;
            }
            Tracking = true;
            EnableMouseHook();
            DisableHotKeyHook();
            break;
        }
    }

    if (!Tracking) return;
    if (method == CaptureMethod::Object) {
        DrawObjectRect();
        SetForegroundWindow(FrmSelectRect->Handle());
    } else if (method == CaptureMethod::FixedRegion) {
        DrawFixRegionRect();
    } else {
        return;
    }
    if (GetMouseDown()) CaptureTracked(method, work);
}

void TFrmCapture::CaptureTracked(CaptureMethod method, ui::Bitmap& work) {
    ui::Bitmap destination;
    GrabScreen(work);
    Tracking = false;
    ShowWindow(FrmSelectRect->Handle(), SW_HIDE);
    if (method == CaptureMethod::Object) {
        capture::GetObjectBmp(work, destination);
    } else {
        // The hole of the frame as it stands, placed by this very tick.
        RECT frame{};
        GetWindowRect(FrmSelectRect->Handle(), &frame);
        capture::GetFixRegionBmp(work, destination, FixedRegionWidth, FixedRegionHeight, {frame.left, frame.top});
    }
    SetMouseDown(false);
    DisableMouseHook();
    Timer1.SetEnabled(false);
    FrmSave->ShowPicture(destination);
    FrmSave->ShowForm();
}

void TFrmCapture::DrawObjectRect() {
    POINT cursor{};
    GetCursorPos(&cursor);
    // The frame lets hit-testing through, so this is never the frame itself.
    HWND under = WindowFromPoint(cursor);
    if (!under) return;
    RECT r{};
    GetWindowRect(under, &r);
    FrmSelectRect->Place(capture::ObjectFrame(r));
}

void TFrmCapture::DrawFixRegionRect() {
    POINT cursor{};
    GetCursorPos(&cursor);
    FrmSelectRect->Place(capture::FixRegionFrame(cursor, FixedRegionWidth, FixedRegionHeight));
}
