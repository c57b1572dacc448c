// Periodic capture as a user runs it: started by Ctrl+R and confirmed,
// writing one decodable, time-stamped JPEG of the screen per period into a
// folder it creates, stopped by Ctrl+S; a Cancel that starts nothing; a
// folder that cannot be written, reported once, and capture resuming by
// itself when the cause is gone.
#include "capture/MainWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/e2e/CaptureSession.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/JpegFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

namespace {

using namespace e2e;

class PeriodicCapture : public CaptureSession {
protected:
    // A settings file that writes every period_ms into folder.
    static std::string Config(int periodMs, const std::wstring& folder) {
        return "[Options]\r\nInterval=" + std::to_string(periodMs) +
               "\r\nIntervalCent=Seconds\r\nRealSavePath=" + std::string(folder.begin(), folder.end()) + "\r\n";
    }

    // The folder for the pictures, two levels below one that exists.
    std::wstring NewFolder(const wchar_t* name) const {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        const std::filesystem::path base =
            std::filesystem::path(temp) /
            (std::wstring(L"snapora-periodic-") + name + L"-" + std::to_wstring(GetCurrentProcessId()));
        std::filesystem::remove_all(base);
        return (base / L"day" / L"shots").wstring();
    }

    // Answers the confirmation with the button given (IDOK or IDCANCEL).
    bool AnswerNotice(int button) {
        HWND notice = app->WaitForWindow(L"#32770", L"Notice", kWait);
        if (!notice) return false;
        PostMessageW(GetDlgItem(notice, button), BM_CLICK, 0, 0);
        return WaitUntil([&] { return !IsWindow(notice) || !IsWindowVisible(notice); }, kWait);
    }

    bool RealTimeChecked() const {
        HWND box = FindWindowExW(main, nullptr, L"Button", L"Real Time Capture");
        return box && SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    // The message boxes of the program now on the screen.
    int OpenBoxes() const {
        int count = 0;
        for (HWND window : app->Windows())
            count += WindowClass(window) == L"#32770";
        return count;
    }
};

} // namespace

TEST_F(PeriodicCapture, CtrlRWritesOneScreenPicturePerPeriodIntoANewFolderUntilCtrlS) {
    const std::wstring folder = NewFolder(L"run");
    Start(Config(1000, folder));
    Sleep(500);

    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDOK)) << "no confirmation, or it did not close";
    const DWORD started = GetTickCount();
    EXPECT_TRUE(RealTimeChecked());
    Sleep(600);
    EXPECT_TRUE(ListFiles(folder, L"*.jpg").empty()) << "a picture came before the first full period";
    Sleep(static_cast<DWORD>(std::max<long>(0, 3500 - static_cast<long>(GetTickCount() - started))));

    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !RealTimeChecked(); }, kWait)) << "Ctrl+S did not clear the box";
    const std::vector<std::wstring> files = ListFiles(folder, L"*.jpg");
    EXPECT_GE(files.size(), 2u);
    EXPECT_LE(files.size(), 4u);
    SYSTEMTIME now{};
    GetLocalTime(&now);
    wchar_t today[16];
    swprintf(today, 16, L"%04d-%02d-%02d ", now.wYear, now.wMonth, now.wDay);
    const std::wregex pattern(LR"(\d{4}-\d{2}-\d{2} \d{2}_\d{2}_\d{2}( \(\d+\))?\.jpg)");
    for (const std::wstring& name : files) {
        EXPECT_TRUE(std::regex_match(name, pattern)) << std::string(name.begin(), name.end());
        EXPECT_EQ(name.substr(0, 11), today) << "not named after the local date";
        const auto size = DecodeJpegFile(folder + L"\\" + name);
        ASSERT_TRUE(size) << "does not decode: " << std::string(name.begin(), name.end());
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
    const std::wstring folder = NewFolder(L"cancel");
    Start(Config(300, folder));
    Sleep(500);
    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDCANCEL));
    Sleep(1500);
    EXPECT_FALSE(RealTimeChecked());
    EXPECT_FALSE(std::filesystem::exists(folder)) << "something was written";
}

TEST_F(PeriodicCapture, AFolderThatCannotBeWrittenIsReportedOnceAndCaptureResumesWhenItCan) {
    // A file stands where the folder should be created.
    const std::wstring folder = NewFolder(L"blocked");
    const std::filesystem::path blocker = std::filesystem::path(folder).parent_path();
    std::filesystem::create_directories(blocker.parent_path());
    { std::ofstream(blocker, std::ios::binary) << "not a folder"; }
    Start(Config(400, folder));
    Sleep(500);
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
    EXPECT_EQ(OpenBoxes(), 1) << "boxes piled up";

    // The cause goes away; once the box is closed, pictures come by themselves.
    std::filesystem::remove(blocker);
    PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !ListFiles(folder, L"*.jpg").empty(); }, kWait)) << "capture did not resume";
    EXPECT_EQ(OpenBoxes(), 0);
    EXPECT_TRUE(RealTimeChecked());
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !RealTimeChecked(); }, kWait));
    for (const std::wstring& name : ListFiles(folder, L"*.jpg"))
        EXPECT_TRUE(DecodeJpegFile(folder + L"\\" + name)) << "a partial picture";
}

TEST_F(PeriodicCapture, ShowingTheOptionsWindowAloneLeavesTheSettingsFileAsItWas) {
    const std::string config = Config(300000, L"C:\\pictures") + "FixedRegionWidth=321\r\n";
    Start(config);
    HWND window = OpenOptions();
    ASSERT_NE(window, nullptr) << "the Options window did not open";
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 443);
    EXPECT_EQ(client.bottom, 529);
    PostMessageW(window, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(window); }, kWait));
    std::ifstream in(std::filesystem::path(app->Folder() + L"\\config.ini"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), config);
}
