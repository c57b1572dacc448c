// The capture trigger in-process: the main window, the highlight frame, the
// region screen and the picture window as the program creates them, driven by
// typed keys through the real hook and the real Timer1.
#include "RealInput.h"
#include "RecordedBoxes.h"
#include "capture/FrmCapture.h"
#include "capture/SelectRect.h"
#include "hook/hook.h"
#include "picture/uSave.h"
#include "region/uDisplay.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace realinput;

namespace {

class CaptureCycle : public ::testing::Test {
protected:
    void SetUp() override {
        display = std::make_unique<TFrmDisplay>();
        FrmDisplay = display.get();
        save = std::make_unique<TFrmSave>();
        FrmSave = save.get();
        frame = std::make_unique<TFrmSelectRect>();
        FrmSelectRect = frame.get();
        capture = std::make_unique<TFrmCapture>();
        FrmCapture = capture.get();
    }
    void TearDown() override {
        capture->InActiveHotKey();
        capture->EndTracking();
        DisableMouseHook();
        capture.reset();
        frame.reset();
        save.reset();
        display.reset();
        FrmCapture = nullptr, FrmSelectRect = nullptr, FrmSave = nullptr, FrmDisplay = nullptr;
        ui::App().MessageFilter = nullptr;
        EXPECT_TRUE(errors.empty());
    }

    bool FrameShown() const { return IsWindowVisible(frame->Handle()) != FALSE; }

    std::unique_ptr<TFrmDisplay> display;
    std::unique_ptr<TFrmSave> save;
    std::unique_ptr<TFrmSelectRect> frame;
    std::unique_ptr<TFrmCapture> capture;
    RecordedBoxes boxes;
    std::vector<std::wstring>& messages = boxes.messages;
    std::vector<std::wstring>& errors = boxes.errors;
};

} // namespace

TEST_F(CaptureCycle, SelectingAMethodEndsATrackingUnderWay) {
    ASSERT_TRUE(MoveTo({700, 700}));
    capture->rdObjectClick();
    TypeCaptureKey();
    ASSERT_TRUE(PumpUntil([&] { return Tracking && FrameShown(); })) << "Object tracking did not start";

    capture->rdFullScreenClick();
    EXPECT_FALSE(Tracking);
    EXPECT_FALSE(FrameShown());
    EXPECT_TRUE(capture->Timer1.Enabled());

    // A click now is an ordinary click: it captures nothing, now or later.
    ASSERT_TRUE(Click({700, 700}));
    PumpFor(1200);
    EXPECT_FALSE(IsWindowVisible(save->Handle()));
    EXPECT_FALSE(GetMouseDown());
    // Selecting Object again waits for a new capture key.
    capture->rdObjectClick();
    PumpFor(1200);
    EXPECT_FALSE(Tracking);
    EXPECT_FALSE(FrameShown());
}

TEST_F(CaptureCycle, AFixedRegionTooSmallToCaptureSaysSoAndStaysArmed) {
    ASSERT_TRUE(MoveTo({700, 700}));
    capture->FixedRegionWidth = 10;
    capture->FixedRegionHeight = 240;
    capture->rdFixRegionClick();
    TypeCaptureKey();
    ASSERT_TRUE(PumpUntil([&] { return !messages.empty(); })) << "no notice";
    EXPECT_NE(messages[0].find(L"Options"), std::wstring::npos);
    EXPECT_FALSE(Tracking);
    EXPECT_FALSE(FrameShown());
    EXPECT_TRUE(capture->Timer1.Enabled());

    // Armed again: with a box that has an inside, the same key starts tracking.
    capture->FixedRegionWidth = 11;
    TypeCaptureKey();
    ASSERT_TRUE(PumpUntil([&] { return Tracking && FrameShown(); }));
    RECT r{};
    GetWindowRect(frame->Handle(), &r);
    EXPECT_EQ(r.left, 700 - 5);
    EXPECT_EQ(r.right - r.left, 21);
    EXPECT_EQ(messages.size(), 1u);
}

TEST_F(CaptureCycle, AReleaseAfterTheMethodChangedShowsWhatThePictureWindowHolds) {
    ui::Bitmap held(40, 30);
    held.SetPixel(5, 5, 0x123456);
    save->ShowPicture(held);
    capture->rdRegionClick();
    ASSERT_TRUE(MoveTo({100, 100}));
    TypeCaptureKey();
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(display->Handle()) != FALSE; })) << "no region screen";
    EXPECT_FALSE(capture->Timer1.Enabled()) << "the trigger stays armed under the region screen";

    display->Image1MouseDown();
    ASSERT_TRUE(MoveTo({300, 200}));
    display->Image1MouseMove();
    EXPECT_EQ(display->Panel1.LbX, L"X:200");
    EXPECT_EQ(display->Panel1.LbY, L"Y:100");
    EXPECT_EQ(display->Panel1.Left(), 305);
    // Another method is chosen meanwhile (a hotkey does this).
    capture->rdFullScreenClick();
    // The picture window opens modally; the user closes it.
    PostMessageW(save->Handle(), WM_CLOSE, 0, 0);
    display->Image1MouseUp();

    EXPECT_FALSE(IsWindowVisible(save->Handle()));
    EXPECT_FALSE(IsWindowVisible(display->Handle()));
    EXPECT_FALSE(display->Panel1.Visible());
    ASSERT_EQ(save->Image1.Picture().Width(), 40);
    EXPECT_EQ(save->Image1.Picture().Pixel(5, 5), 0x123456u);
    EXPECT_TRUE(capture->Timer1.Enabled()) << "closing the picture window re-arms the trigger";
}
