// Faults a user runs into, each with a clear outcome and the program still
// working afterwards: a second copy, a settings file held by another program,
// a hand-edited fixed region far too large to capture.
#include "capture/HighlightFrame.h"
#include "app/MainWindow.h"
#include "tests/e2e/CaptureSession.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace e2e;

class Reliability : public CaptureSession {
protected:
    // The text of the message box the program shows, once it is up.
    std::wstring WaitForMessageBox(HWND& box) {
        box = app->WaitForWindow(L"#32770", nullptr, kWait);
        return box ? MessageBoxText(box) : std::wstring();
    }
};

} // namespace

TEST_F(Reliability, ASecondCopyBringsTheFirstForwardAndLeavesEverythingAlone) {
    const std::string config = "[Options]\r\nStartupSuspend=1\r\nFixedRegionWidth=200\r\n";
    app.emplace(RunningSnapora::LaunchArgs{.configIni = config});
    main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000, true);
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(Answers(main, 15000));
    ASSERT_FALSE(IsWindowVisible(main));

    EXPECT_EQ(app->RunAnotherCopy(15000), std::optional<DWORD>(0));
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }, kWait)) << "the first copy was not shown";
    EXPECT_EQ(ReadFileBytes(app->Folder() + L"\\config.ini"), config);
    // The first copy still has its hotkeys: Ctrl+1 captures.
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the first copy lost its hotkeys";
    Cancel(save);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(Reliability, ASettingsFileHeldOpenIsNamedAndTheDefaultsServe) {
    HANDLE held = INVALID_HANDLE_VALUE;
    app.emplace(RunningSnapora::LaunchArgs{
        .configIni = "[Options]\r\nFixedRegionWidth=200\r\nFixedRegionHeight=150\r\n",
        .beforeStart = [&](const std::wstring& folder) {
            const std::wstring path = folder + L"\\config.ini";
            held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        }});
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    HWND box = nullptr;
    const std::wstring text = WaitForMessageBox(box);
    CloseHandle(held);
    ASSERT_NE(box, nullptr) << "no word about the settings file";
    EXPECT_NE(text.find(L"config.ini"), std::wstring::npos) << "the message does not name the file";
    EXPECT_NE(text.find(L"default settings"), std::wstring::npos);
    PressOk(box);
    main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000);
    ASSERT_NE(main, nullptr) << "the program did not go on";

    // The defaults are in force: the fixed region is 0 x 0, which a capture refuses.
    Select(L"Fixed Region");
    TypeCaptureKey();
    const std::wstring notice = WaitForMessageBox(box);
    EXPECT_NE(notice.find(L"(0 x 0 pixels)"), std::wstring::npos) << "box " << box << ": " << Narrow(notice);
    if (box) PressOk(box);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(Reliability, AFixedRegionTooLargeToHoldIsRefusedAndTheTriggerStaysArmed) {
    Start("[Options]\r\nFixedRegionWidth=30000\r\nFixedRegionHeight=30000\r\n");
    Select(L"Fixed Region");
    MoveMouse({600, 500});
    TypeCaptureKey();
    HWND box = nullptr;
    const std::wstring text = WaitForMessageBox(box);
    ASSERT_NE(box, nullptr) << "no message for a 30000 x 30000 region";
    EXPECT_NE(text.find(L"too large"), std::wstring::npos) << "message: " << Narrow(text);
    EXPECT_EQ(app->FindWindowOf(capture::kHighlightFrameClass, nullptr, false), nullptr) << "a frame was shown";
    PressOk(box);

    // Armed again: the capture key works with another method at once.
    Select(L"Full Screen");
    MoveMouse({1200, 980});
    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the trigger stayed disarmed";
    Cancel(save);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}
