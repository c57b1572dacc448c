#include "capture/CaptureTrigger.h"

#include "capture/FrameGeometry.h"
#include "capture/Grab.h"
#include "hook/hook.h"
#include "picture/PictureMath.h"
#include "ui/Application.h"
#include "ui/Cursor.h"
#include "ui/Event.h"
#include "ui/Monitors.h"

#include <vector>

#include <string>
#include <utility>

namespace capture {

namespace {

// What the hook library posts to the trigger's message window.
constexpr UINT kHookNoticeMessage = WM_APP + 10;

} // namespace

std::wstring FixedRegionProblem(int width, int height) {
    const std::wstring size = std::to_wstring(width) + L" x " + std::to_wstring(height) + L" pixels";
    if (width < kMinFixedRegionSide || height < kMinFixedRegionSide)
        return L"The fixed region is too small to capture (" + size + L"). Set its width and height in Options.";
    if (!ui::Bitmap::SizeAllowed(width, height))
        return L"The fixed region is too large to capture (" + size + L"). Set its width and height in Options.";
    return {};
}

CaptureTrigger::CaptureTrigger(Windows windows, const settings::CaptureOptions& options,
                               std::function<CaptureMethod()> selectedMethod)
    : windows_(windows), options_(options), selectedMethod_(std::move(selectedMethod)) {
    EnableHotKeyHook();
    pollTimer_.OnTimer = [this] { OnTriggerTick(); };
    followTimer_.OnTimer = [this] { FollowCursor(); };
    // A word from the hook is handled as a poll, but only while listening: a
    // disarmed trigger ignores it, and what the hook recorded stays there.
    hookNotices_.OnMessage = [this](UINT, WPARAM, LPARAM) {
        if (listening_) OnTriggerTick();
    };
    SetNotifyWindow(hookNotices_.Handle(), kHookNoticeMessage);
    UpdatePolling();
}

CaptureTrigger::~CaptureTrigger() {
    SetNotifyWindow(nullptr, 0);
    EndTracking();
    DisableHotKeyHook();
}

void CaptureTrigger::Arm() {
    EndTracking();
    EnableHotKeyHook();
    SetListening(true);
}

void CaptureTrigger::Disarm() {
    DisableHotKeyHook();
    SetListening(false);
    captureRequested_ = false;
}

void CaptureTrigger::SetListening(bool listening) {
    if (listening && !listening_)
        // A key recorded while the trigger was not listening has had its
        // word ignored; one look now takes it, as the first poll would.
        PostMessageW(hookNotices_.Handle(), kHookNoticeMessage, 0, 0);
    listening_ = listening;
    UpdatePolling();
}

void CaptureTrigger::UpdatePolling() {
    // While tracking, the poll also keeps the frame in front (Object) and
    // catches a press whose word was lost; otherwise the hook's word alone
    // wakes the trigger, unless it has no window to reach.
    pollTimer_.SetEnabled(listening_ && (tracking_ || !hookNotices_.Handle()));
}

void CaptureTrigger::CaptureNow() {
    captureRequested_ = true;
    PostMessageW(hookNotices_.Handle(), kHookNoticeMessage, 0, 0);
}

void CaptureTrigger::ReleaseHooks() {
    DisableHotKeyHook();
    GetMouseDown();
    DisableMouseHook();
}

void CaptureTrigger::EndTracking() {
    if (!tracking_) return;
    tracking_ = false;
    followTimer_.SetEnabled(false);
    UpdatePolling();
    windows_.highlightFrame.Hide();
    DisableMouseHook();
    SetMouseDown(false);
}

bool CaptureTrigger::CaptureUnderWay() const {
    return IsWindowVisible(windows_.regionScreen.Handle()) || IsWindowVisible(windows_.pictureWindow.Handle());
}

void CaptureTrigger::StartTracking() {
    tracking_ = true;
    followTimer_.SetEnabled(true);
    UpdatePolling();
    EnableMouseHook();
    DisableHotKeyHook();
}

void CaptureTrigger::GrabArea(ui::Bitmap& picture, const RECT& area, const std::vector<ui::Monitor>& monitors) const {
    GrabScreenArea(picture, area, monitors);
    ui::Raise(ScreenGrabbed);
    if (options_.IncludeCursor) DrawCursor(picture, {area.left, area.top});
}

void CaptureTrigger::OnTriggerTick() {
    try {
        DispatchTick();
    } catch (...) {
        // Whatever failed, the trigger waits for the next capture key again.
        if (!CaptureUnderWay()) Arm();
        throw;
    }
}

void CaptureTrigger::DispatchTick() {
    const CaptureMethod method = selectedMethod_();

    // Both are taken, so that a typed key and a request together capture once.
    const bool keyPressed = GetDownHotKey();
    const bool requested = std::exchange(captureRequested_, false);
    if (keyPressed || requested) {
        switch (method) {
        case CaptureMethod::SelectedRegion: {
            // The region screen covers every monitor, frozen at once.
            const std::vector<ui::Monitor> monitors = ui::Monitors();
            const RECT area = ui::VirtualScreen(monitors);
            ui::Bitmap screen;
            GrabArea(screen, area, monitors);
            Disarm();
            windows_.regionScreen.ShowFrozen(std::move(screen), area);
            break;
        }
        case CaptureMethod::FullScreen: {
            const std::vector<ui::Monitor> monitors = ui::Monitors();
            const RECT area = FullScreenArea(options_.More.FullScreenArea, monitors);
            ui::Bitmap screen;
            GrabArea(screen, area, monitors);
            Disarm();
            windows_.pictureWindow.LoadScreenPicture(std::move(screen));
            Present(area);
            break;
        }
        case CaptureMethod::Object:
            StartTracking();
            break;
        case CaptureMethod::ActiveWindow: {
            const RECT area = ActiveWindowArea();
            ui::Bitmap window;
            GrabArea(window, area, ui::Monitors());
            windows_.pictureWindow.LoadPicture(window);
            Disarm();
            Present(area);
            break;
        }
        case CaptureMethod::FixedRegion:
            // A box of 10 pixels or less has no inside to capture, and one
            // beyond what a picture can hold would exhaust the memory: say
            // so before any frame is shown.
            if (const std::wstring problem = FixedRegionProblem(options_.FixedRegionWidth, options_.FixedRegionHeight);
                !problem.empty()) {
                Disarm();
                ui::App().ShowMessage(problem, MB_OK | MB_ICONINFORMATION);
                Arm();
                return;
            }
            StartTracking();
            break;
        }
    }

    if (!tracking_) return;
    if (method == CaptureMethod::Object) {
        FrameWindowUnderCursor();
        SetForegroundWindow(windows_.highlightFrame.Handle());
    } else if (method == CaptureMethod::FixedRegion) {
        FrameFixedRegionAtCursor();
    } else {
        return;
    }
    if (GetMouseDown()) CaptureTracked(method);
}

void CaptureTrigger::CaptureTracked(CaptureMethod method) {
    ui::Bitmap picture;
    RECT area{};
    if (method == CaptureMethod::Object) {
        area = ObjectArea();
        GrabArea(picture, area, ui::Monitors());
    } else {
        // The hole of the frame as it stands, placed by this very tick; the
        // frame's ring lies outside it, so it is never in the picture.
        RECT frame{};
        GetWindowRect(windows_.highlightFrame.Handle(), &frame);
        const int widening = FrameWidening(windows_.highlightFrame.LineWidth());
        area = FixedRegionHole({frame.left + widening, frame.top + widening}, options_.FixedRegionWidth,
                               options_.FixedRegionHeight);
        ui::Bitmap hole;
        GrabArea(hole, area, ui::Monitors());
        EnlargeFixedRegion(hole, picture, options_.FixedRegionWidth, options_.FixedRegionHeight);
    }
    tracking_ = false;
    followTimer_.SetEnabled(false);
    windows_.highlightFrame.Hide();
    SetMouseDown(false);
    DisableMouseHook();
    SetListening(false);
    windows_.pictureWindow.LoadPicture(picture);
    Present(area);
}

void CaptureTrigger::Present(const RECT& takenFrom) {
    windows_.pictureWindow.ShowOnMonitorOf(takenFrom);
    windows_.pictureWindow.Present();
}

void CaptureTrigger::FrameWindowUnderCursor() {
    // The frame lets hit-testing through, so this is never the frame itself.
    HWND under = WindowFromPoint(ui::CursorPosition());
    if (!under) return;
    RECT r{};
    GetWindowRect(under, &r);
    windows_.highlightFrame.Place(ObjectFrame(r, windows_.highlightFrame.LineWidth()));
}

void CaptureTrigger::FrameFixedRegionAtCursor() {
    windows_.highlightFrame.Place(FixedRegionFrame(ui::CursorPosition(), options_.FixedRegionWidth,
                                                   options_.FixedRegionHeight, windows_.highlightFrame.LineWidth()));
}

void CaptureTrigger::FollowCursor() {
    if (!tracking_) return;
    const CaptureMethod method = selectedMethod_();
    if (method == CaptureMethod::Object)
        FrameWindowUnderCursor();
    else if (method == CaptureMethod::FixedRegion)
        FrameFixedRegionAtCursor();
}

void CaptureTrigger::OnPictureClosed() {
    SetListening(true);
    EnableHotKeyHook();
}

void CaptureTrigger::OnRegionSelected(const ui::Bitmap& frozen, POINT start, POINT end) {
    const bool stillRegion = selectedMethod_() == CaptureMethod::SelectedRegion;
    try {
        if (stillRegion) windows_.pictureWindow.LoadRegionPicture(frozen, start, end);
    } catch (...) {
        // No picture to show: the trigger waits for the next capture key.
        Arm();
        throw;
    }
    // The method changed during the drag and the window holds nothing (it
    // gives its pictures back when closed): an empty window would show
    // nothing, so the trigger simply waits for the next capture key. (An
    // empty selection still opens the window, as the user asked for it.)
    if (!stillRegion && windows_.pictureWindow.PictureView().Picture().Empty()) {
        Arm();
        return;
    }
    // The picture window opens on the monitor where the region was taken.
    const POINT origin = windows_.regionScreen.ScreenOrigin();
    RECT taken = picture::NormalizedRegion(start, end);
    OffsetRect(&taken, origin.x, origin.y);
    taken.right += 1, taken.bottom += 1;
    windows_.pictureWindow.ShowOnMonitorOf(taken);
    windows_.pictureWindow.ShowModal();
}

} // namespace capture
