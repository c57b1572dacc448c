// The capture trigger in-process: the windows as the application object
// creates and wires them, driven by typed keys through the real hook and the
// trigger's real timer.
#include "tests/support/Input.h"
#include "tests/support/Windows.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "RecordedBoxes.h"
#include "app/SnaporaApp.h"
#include "hook/hook.h"
#include "ui/Application.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace support;

namespace {

using capture::CaptureMethod;

class CaptureTrigger : public ::testing::Test {
protected:
    void SetUp() override { snapora = std::make_unique<app::SnaporaApp>(); }
    void TearDown() override {
        trigger().Disarm();
        trigger().EndTracking();
        DisableMouseHook();
        snapora.reset();
        EXPECT_TRUE(errors.empty());
    }

    capture::CaptureTrigger& trigger() { return snapora->Trigger(); }
    picture::PictureWindow& save() { return snapora->PictureWindow(); }
    region::RegionScreen& display() { return snapora->RegionScreen(); }
    bool FrameShown() { return snapora->HighlightFrame().Visible(); }

    std::unique_ptr<app::SnaporaApp> snapora;
    RecordedBoxes boxes;
    std::vector<std::wstring>& messages = boxes.messages;
    std::vector<std::wstring>& errors = boxes.errors;
};

} // namespace

TEST_F(CaptureTrigger, SelectingAMethodEndsATrackingUnderWay) {
    ASSERT_TRUE(MoveMouse({700, 700}));
    snapora->OnMethodChosen(CaptureMethod::Object);
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return trigger().Tracking() && FrameShown(); })) << "Object tracking did not start";

    snapora->OnMethodChosen(CaptureMethod::FullScreen);
    EXPECT_FALSE(trigger().Tracking());
    EXPECT_FALSE(FrameShown());
    EXPECT_TRUE(trigger().Listening());

    // A click now is an ordinary click: it captures nothing, now or later.
    ASSERT_TRUE(Click({700, 700}));
    Pause(1200);
    EXPECT_FALSE(IsWindowVisible(save().Handle()));
    EXPECT_FALSE(GetMouseDown());
    // Selecting Object again waits for a new capture key.
    snapora->OnMethodChosen(CaptureMethod::Object);
    Pause(1200);
    EXPECT_FALSE(trigger().Tracking());
    EXPECT_FALSE(FrameShown());
}

TEST_F(CaptureTrigger, AFixedRegionTooSmallToCaptureSaysSoAndStaysArmed) {
    ASSERT_TRUE(MoveMouse({700, 700}));
    snapora->Options().FixedRegionWidth = 10;
    snapora->Options().FixedRegionHeight = 240;
    snapora->OnMethodChosen(CaptureMethod::FixedRegion);
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return !messages.empty(); })) << "no notice";
    EXPECT_NE(messages[0].find(L"Options"), std::wstring::npos);
    EXPECT_FALSE(trigger().Tracking());
    EXPECT_FALSE(FrameShown());
    EXPECT_TRUE(trigger().Listening());

    // Armed again: with a box that has an inside, the same key starts tracking.
    snapora->Options().FixedRegionWidth = 11;
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return trigger().Tracking() && FrameShown(); }));
    RECT r = support::WindowRectOf(snapora->HighlightFrame().Handle());
    EXPECT_EQ(r.left, 700 - 5);
    EXPECT_EQ(r.right - r.left, 21);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(CaptureTrigger, AReleaseAfterTheMethodChangedShowsWhatThePictureWindowHolds) {
    ui::Bitmap held(40, 30);
    held.SetPixel(5, 5, 0x123456);
    save().LoadPicture(held);
    snapora->OnMethodChosen(CaptureMethod::SelectedRegion);
    ASSERT_TRUE(MoveMouse({100, 100}));
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(display().Handle()) != FALSE; })) << "no region screen";
    EXPECT_FALSE(trigger().Listening()) << "the trigger stays armed under the region screen";

    display().OnSelectionStart({100, 100});
    display().OnSelectionDrag({300, 200});
    EXPECT_EQ(display().SizeLabel().WidthText(), L"X:200");
    EXPECT_EQ(display().SizeLabel().HeightText(), L"Y:100");
    EXPECT_EQ(display().SizeLabel().Left(), 305);
    // Near the corner of the monitor the label stays on it, beside the cursor.
    const int right = GetSystemMetrics(SM_CXSCREEN), bottom = GetSystemMetrics(SM_CYSCREEN);
    display().OnSelectionDrag({right - 2, bottom - 3});
    EXPECT_EQ(display().SizeLabel().Left() + display().SizeLabel().Width(), right);
    EXPECT_EQ(display().SizeLabel().Top() + display().SizeLabel().Height(), bottom);
    display().OnSelectionDrag({300, 200});
    // Another method is chosen meanwhile (a hotkey does this).
    snapora->OnMethodChosen(CaptureMethod::FullScreen);
    // The picture window opens modally, from the message loop; the user
    // closes it once it is up.
    bool regionScreenUnder = false;
    int shownWidth = 0;
    std::uint32_t shownPixel = 0;
    ui::Timer user(50, true);
    user.OnTimer = [&] {
        if (!IsWindowVisible(save().Handle())) return;
        regionScreenUnder = IsWindowVisible(display().Handle()) != FALSE;
        shownWidth = save().PictureView().Picture().Width();
        shownPixel = save().PictureView().Picture().Pixel(5, 5);
        PostMessageW(save().Handle(), WM_CLOSE, 0, 0);
        user.SetEnabled(false);
    };
    display().OnSelectionEnd({300, 200});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(display().Handle()) == FALSE; }));
    EXPECT_TRUE(regionScreenUnder) << "the region screen stays up under the picture window";

    EXPECT_FALSE(IsWindowVisible(save().Handle()));
    EXPECT_FALSE(IsWindowVisible(display().Handle()));
    EXPECT_FALSE(display().SizeLabel().Visible());
    ASSERT_EQ(shownWidth, 40);
    EXPECT_EQ(shownPixel, 0x123456u);
    EXPECT_TRUE(trigger().Listening()) << "closing the picture window re-arms the trigger";

    // Again, now that the closed window holds nothing: no empty window opens,
    // and the trigger is armed at once.
    snapora->OnMethodChosen(CaptureMethod::SelectedRegion);
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(display().Handle()) != FALSE; })) << "no region screen";
    display().OnSelectionStart({100, 100});
    snapora->OnMethodChosen(CaptureMethod::FullScreen);
    display().OnSelectionEnd({100, 100});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(display().Handle()) == FALSE; }));
    EXPECT_FALSE(IsWindowVisible(save().Handle())) << "an empty picture window opened";
    EXPECT_TRUE(trigger().Listening());
}

TEST_F(CaptureTrigger, WaitingInTheTrayRunsNoTimerYetTheCaptureKeyCapturesAtOnce) {
    // Nothing shown, the trigger armed: no poll, and no monitor check either.
    ASSERT_TRUE(WaitUntil([&] { return !snapora->MonitorWatch().Watching(); })) << "the monitors are watched";
    EXPECT_TRUE(trigger().Listening());
    EXPECT_FALSE(trigger().Polling());

    snapora->OnMethodChosen(CaptureMethod::FullScreen);
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(save().Handle()) != FALSE; })) << "the key captured nothing";
    EXPECT_TRUE(snapora->MonitorWatch().Watching()) << "a window is shown and its monitor not watched";
    PostMessageW(save().Handle(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(save().Handle()); }));
    EXPECT_TRUE(trigger().Listening());
    EXPECT_FALSE(trigger().Polling());
    EXPECT_TRUE(WaitUntil([&] { return !snapora->MonitorWatch().Watching(); }));

    // Tracking polls, so that the frame stays in front; choosing again ends it.
    ASSERT_TRUE(MoveMouse({700, 700}));
    snapora->OnMethodChosen(CaptureMethod::Object);
    TypeCaptureKey();
    ASSERT_TRUE(WaitUntil([&] { return trigger().Tracking(); })) << "Object tracking did not start";
    EXPECT_TRUE(trigger().Polling());
    snapora->OnMethodChosen(CaptureMethod::FullScreen);
    EXPECT_FALSE(trigger().Polling());

    // A key typed while the trigger does not listen (periodic capture's first
    // period) captures as soon as it listens again.
    trigger().SetListening(false);
    TypeCaptureKey();
    Pause(300);
    EXPECT_FALSE(IsWindowVisible(save().Handle())) << "a deaf trigger captured";
    trigger().SetListening(true);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(save().Handle()) != FALSE; })) << "the key was lost";
}
