// The capture trigger: waits for the capture key (or the program's own
// request), then captures with the selected method. It acts when the hook
// library posts word of what it recorded, so that an armed trigger costs
// nothing while it waits; it polls the library on a 500 ms timer only while
// it tracks the mouse, and always should that word have no window to reach.
// Object and Fixed Region captures first track the mouse with the highlight
// frame and capture at the next press of a mouse button anywhere.
#pragma once

#include "capture/CaptureMethod.h"
#include "capture/HighlightFrame.h"
#include "picture/PictureWindow.h"
#include "region/RegionScreen.h"
#include "settings/Options.h"
#include "ui/Bitmap.h"
#include "ui/MessageWindow.h"
#include "ui/Monitors.h"
#include "ui/Timer.h"

#include <functional>
#include <string>
#include <vector>

namespace capture {

// Why a Fixed Region box of that size cannot be captured, or nothing when it can.
std::wstring FixedRegionProblem(int width, int height);

class CaptureTrigger {
public:
    // The windows a capture goes through.
    struct Windows {
        HighlightFrame& highlightFrame;
        region::RegionScreen& regionScreen;
        picture::PictureWindow& pictureWindow;
    };

    // selectedMethod says which method the next capture key captures with;
    // options are read at each capture. The trigger starts armed.
    CaptureTrigger(Windows windows, const settings::CaptureOptions& options,
                   std::function<CaptureMethod()> selectedMethod);
    ~CaptureTrigger();
    CaptureTrigger(const CaptureTrigger&) = delete;
    CaptureTrigger& operator=(const CaptureTrigger&) = delete;

    // Arm: the hotkey hook and the timer on. Arming also ends a tracking under
    // way, so that an earlier click can never capture later by surprise.
    void Arm();
    // Disarm: the hotkey hook and the timer off.
    void Disarm();
    // The program's own commands capture through this rather than by typing
    // the capture key, which the user may have cleared or given Alt: the
    // capture follows as soon as the current message is handled, as the
    // capture key's would, when the trigger is armed by then.
    void CaptureNow();
    // The program is closing: the hotkey hook off, and the mouse hook that a
    // tracked capture under way leaves on, rather than leave a system-wide
    // hook to die with the program.
    void ReleaseHooks();
    // Ends Object or Fixed Region tracking: frame hidden, mouse hook off,
    // pending press forgotten.
    void EndTracking();

    // True while the highlight frame follows the mouse and the next mouse
    // press will capture.
    bool Tracking() const { return tracking_; }
    // True while the region screen or the picture window is up.
    bool CaptureUnderWay() const;

    // Whether the trigger acts on what the hook recorded (the hook itself
    // aside); periodic capture stops it around each of its ticks. Listening
    // again acts at once on a capture key recorded meanwhile.
    bool Listening() const { return listening_; }
    void SetListening(bool listening);
    // Whether the polling timer runs: only while tracking, or when the hook's
    // word cannot reach the trigger.
    bool Polling() const { return pollTimer_.Running(); }

    // One poll: dispatches a capture key or a tracked press, if there is one.
    void OnTriggerTick();
    // The picture window was closed: armed again.
    void OnPictureClosed();
    // A region was dragged out on the region screen: the picture window
    // shows it modally (or, when the method changed meanwhile, what it holds).
    void OnRegionSelected(const ui::Bitmap& frozen, POINT start, POINT end);

    // Raised each time a capture has just read the screen, before anything
    // else is done with the picture; the benchmark times the way from the
    // capture key to this moment. Nothing in the program listens to it.
    std::function<void()> ScreenGrabbed;

private:
    void DispatchTick();
    // Starts or stops the polling timer as listening and tracking require.
    void UpdatePolling();
    // The picture of a screen rectangle, with the cursor when the options say so.
    void GrabArea(ui::Bitmap& picture, const RECT& area, const std::vector<ui::Monitor>& monitors) const;
    // Shows the picture window on the monitor the picture was taken from.
    void Present(const RECT& takenFrom);
    void StartTracking();
    // The capture that ends a tracking: the press has been seen.
    void CaptureTracked(CaptureMethod method);
    // Place and show the highlight frame around the window under the mouse,
    // or around the fixed box centred on the mouse.
    void FrameWindowUnderCursor();
    void FrameFixedRegionAtCursor();
    // Places the frame for the selected method while tracking.
    void FollowCursor();

    Windows windows_;
    const settings::CaptureOptions& options_;
    std::function<CaptureMethod()> selectedMethod_;
    ui::Timer pollTimer_{500, false};
    // While tracking, the frame follows the mouse between the polls.
    ui::Timer followTimer_{15, false};
    // Receives the hook library's word that it recorded the capture key or a
    // mouse press, so that the capture starts at once instead of at the next poll.
    ui::MessageWindow hookNotices_;
    bool listening_ = true;
    bool tracking_ = false;
    // A capture asked for by CaptureNow and not yet dispatched.
    bool captureRequested_ = false;
};

} // namespace capture
