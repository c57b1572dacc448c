// Periodic capture as a user runs it: started by Ctrl+R and confirmed,
// writing one decodable, time-stamped JPEG of the screen per period into a
// folder it creates, stopped by Ctrl+S; a Cancel that starts nothing; a
// folder that cannot be written, reported once, and capture resuming by
// itself when the cause is gone.
#include "app/MainWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/e2e/CaptureSession.h"
#include "tests/e2e/LongRun.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace e2e;

// Timers and file times of the same clock may disagree by this much.
constexpr std::int64_t kClockSlackMs = 50;

class PeriodicCapture : public CaptureSession {
protected:
    // The folder for the pictures, two levels below one that exists.
    std::wstring NewFolder() const { return (scratch_.Path() / L"day" / L"shots").wstring(); }

    // Answers the confirmation with the button given (IDOK or IDCANCEL).
    bool AnswerNotice(int button) {
        HWND notice = app->WaitForWindow(L"#32770", L"Notice", kWait);
        if (!notice) return false;
        answeredAt_ = SystemTimeMs();
        PostMessageW(GetDlgItem(notice, button), BM_CLICK, 0, 0);
        return WaitUntil([&] { return !IsWindow(notice) || !IsWindowVisible(notice); }, kWait);
    }

    bool RealTimeChecked() const {
        HWND box = FindWindowExW(main, nullptr, L"Button", L"Real Time Capture");
        return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // Milliseconds of the system clock, which also stamps the files.
    static std::int64_t SystemTimeMs() {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        return MillisecondsOf(now);
    }
    static std::int64_t MillisecondsOf(const FILETIME& t) {
        return static_cast<std::int64_t>((ULONGLONG{t.dwHighDateTime} << 32 | t.dwLowDateTime) / 10000);
    }
    // When the earliest picture in the folder was written.
    static std::int64_t FirstWrittenMs(const std::wstring& folder) {
        std::int64_t first = INT64_MAX;
        for (const std::wstring& name : ListFiles(folder, L"*.jpg")) {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            if (GetFileAttributesExW((folder + L"\\" + name).c_str(), GetFileExInfoStandard, &data))
                first = std::min(first, MillisecondsOf(data.ftLastWriteTime));
        }
        return first;
    }

    const TempFolder scratch_{L"periodic"};
    std::int64_t answeredAt_ = 0;
};

} // namespace

TEST_F(PeriodicCapture, CtrlRWritesOneScreenPicturePerPeriodIntoANewFolderUntilCtrlS) {
    const std::wstring folder = NewFolder();
    Start(PeriodicConfig(1000, folder));

    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDOK)) << "no confirmation, or it did not close";
    EXPECT_TRUE(WaitUntil([&] { return RealTimeChecked(); }, kWait));
    // Pictures come one per period, the first a full period after OK: a
    // loaded machine can only make them later, never earlier or more.
    ASSERT_TRUE(WaitUntil([&] { return ListFiles(folder, L"*.jpg").size() >= 3; }, 3 * kWait))
        << "fewer than three pictures came";
    EXPECT_GE(FirstWrittenMs(folder), answeredAt_ + 1000 - kClockSlackMs)
        << "a picture came before the first full period";

    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !RealTimeChecked(); }, kWait)) << "Ctrl+S did not clear the box";
    const std::int64_t periods = (SystemTimeMs() - answeredAt_ + kClockSlackMs) / 1000;
    const std::vector<std::wstring> files = ListFiles(folder, L"*.jpg");
    EXPECT_LE(static_cast<std::int64_t>(files.size()), periods) << "more than one picture per period";
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t today[16];
    swprintf(today, 16, L"%04d-%02d-%02d ", now.wYear, now.wMonth, now.wDay);
    const std::wregex pattern(LR"(\d{4}-\d{2}-\d{2} \d{2}_\d{2}_\d{2}( \(\d+\))?\.jpg)");
    for (const std::wstring& name : files) {
        EXPECT_TRUE(std::regex_match(name, pattern)) << Narrow(name);
        EXPECT_EQ(name.substr(0, 11), today) << "not named after the local date";
        const auto size = DecodeJpegFile(folder + L"\\" + name);
        ASSERT_TRUE(size) << "does not decode: " << Narrow(name);
        EXPECT_EQ(size->width, GetSystemMetrics(SM_CXSCREEN));
        EXPECT_EQ(size->height, GetSystemMetrics(SM_CYSCREEN));
    }
    EXPECT_TRUE(ListFiles(folder, L"*.tmp").empty()) << "a temporary file was left";

    // Stopped: no more pictures; and the capture key works again.
    Sleep(1500);
    EXPECT_EQ(ListFiles(folder, L"*.jpg").size(), files.size());
    Select(L"Full Screen");
    MoveMouse({1200, 980});
    TypeCaptureKey();
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "the trigger did not come back after periodic capture";
    Cancel(save);
}

TEST_F(PeriodicCapture, CancelAtTheConfirmationStartsNothing) {
    const std::wstring folder = NewFolder();
    Start(PeriodicConfig(300, folder));
    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDCANCEL));
    Sleep(1500);
    EXPECT_FALSE(RealTimeChecked());
    EXPECT_FALSE(std::filesystem::exists(folder)) << "something was written";
}

TEST_F(PeriodicCapture, AFolderThatCannotBeWrittenIsReportedOnceAndCaptureResumesWhenItCan) {
    // A file stands where the folder should be created.
    const std::wstring folder = NewFolder();
    const std::filesystem::path blocker = std::filesystem::path(folder).parent_path();
    std::filesystem::create_directories(blocker.parent_path());
    WriteFileBytes(blocker.wstring(), "not a folder");
    Start(PeriodicConfig(400, folder));
    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDOK));

    HWND box = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            box = app->FindWindowOf(L"#32770", nullptr, false);
            return box != nullptr;
        },
        kWait))
        << "the failure was not reported";
    Sleep(2000); // five more periods
    EXPECT_EQ(app->MessageBoxes().size(), 1u) << "boxes piled up";

    // The cause goes away; once the box is closed, pictures come by themselves.
    std::filesystem::remove(blocker);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !ListFiles(folder, L"*.jpg").empty(); }, kWait)) << "capture did not resume";
    EXPECT_TRUE(WaitUntil([&] { return app->MessageBoxes().empty(); }, kWait)) << "the box stayed, or another came";
    EXPECT_TRUE(RealTimeChecked());
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !RealTimeChecked(); }, kWait));
    for (const std::wstring& name : ListFiles(folder, L"*.jpg"))
        EXPECT_TRUE(DecodeJpegFile(folder + L"\\" + name)) << "a partial picture";
}

TEST_F(PeriodicCapture, ShowingTheOptionsWindowAloneLeavesTheSettingsFileAsItWas) {
    const std::string config = PeriodicConfig(300000, L"C:\\pictures") + "FixedRegionWidth=321\r\n";
    Start(config);
    HWND window = OpenOptions();
    ASSERT_NE(window, nullptr) << "the Options window did not open";
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 443);
    EXPECT_EQ(client.bottom, 529);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, kWait));
    EXPECT_EQ(ReadFileBytes(app->Folder() + L"\\config.ini"), config);
}
