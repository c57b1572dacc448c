// Periodic capture as a user runs it: started by Ctrl+R and confirmed,
// writing one decodable, time-stamped JPEG of the screen per period into a
// folder it creates, stopped by Ctrl+S; a Cancel that starts nothing; a
// folder that cannot be written, reported once, and capture resuming by
// itself when the cause is gone; a still screen written once as PNG; the
// folder kept to its newest pictures; nothing written while locked.
#include "app/MainWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/e2e/CaptureSession.h"
#include "tests/e2e/LongRun.h"
#include "tests/support/Files.h"
#include "tests/support/Picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <tuple>
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

    // Whether a picture's name is older than another's: by time stamp, then
    // by the number of the same second (a name without one is the first).
    static bool Older(const std::wstring& a, const std::wstring& b) {
        auto key = [](const std::wstring& name) {
            const size_t open = name.find(L" (", 19);
            return std::make_tuple(name.substr(0, 19),
                                   open == std::wstring::npos ? 1 : std::stoi(name.substr(open + 2)));
        };
        return key(a) < key(b);
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
    EXPECT_TRUE(WaitUntil([&] { return Checked(L"Real Time Capture"); }, kWait));
    // Pictures come one per period, the first a full period after OK: a
    // loaded machine can only make them later, never earlier or more.
    ASSERT_TRUE(WaitUntil([&] { return ListFiles(folder, L"*.jpg").size() >= 3; }, 3 * kWait))
        << "fewer than three pictures came";
    EXPECT_GE(FirstWrittenMs(folder), answeredAt_ + 1000 - kClockSlackMs)
        << "a picture came before the first full period";

    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !Checked(L"Real Time Capture"); }, kWait)) << "Ctrl+S did not clear the box";
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
    EXPECT_FALSE(Checked(L"Real Time Capture"));
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
    EXPECT_TRUE(Checked(L"Real Time Capture"));
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !Checked(L"Real Time Capture"); }, kWait));
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

TEST_F(PeriodicCapture, WithSkippingOnAStillScreenIsOnePngEqualToTheScreenUntilItChanges) {
    const std::wstring folder = NewFolder();
    constexpr int kPeriod = 1000;
    Start(PeriodicConfig(kPeriod, folder) + "PeriodicSkipUnchanged=1\r\nPeriodicFormat=png\r\n");
    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDOK));
    auto pictures = [&] {
        std::vector<std::wstring> names = ListFiles(folder, L"*.png");
        std::sort(names.begin(), names.end(), &Older);
        return names;
    };
    // The newest picture decodes to what the screen shows now.
    auto newestIsTheScreen = [&] {
        const std::vector<std::wstring> names = pictures();
        if (names.empty()) return false;
        const std::optional<Picture> newest = DecodePngFile(folder + L"\\" + names.back());
        return newest && SamePicture(*newest, GrabScreen(Screen()));
    };
    ASSERT_TRUE(WaitUntil(newestIsTheScreen, kWait)) << "no picture of the screen";

    // Five more ticks of the same screen write nothing.
    const size_t still = pictures().size();
    EXPECT_FALSE(WaitUntil([&] { return pictures().size() > still; }, 5 * kPeriod + kPeriod / 2))
        << "an unchanged screen was written again";

    // Another program's window changes the screen: a picture of it follows.
    TargetProgram target({300, 260, 700, 560});
    ASSERT_TRUE(WaitUntil([&] { return pictures().size() > still && newestIsTheScreen(); }, kWait))
        << "the change was not written";
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !Checked(L"Real Time Capture"); }, kWait));
    EXPECT_TRUE(ListFiles(folder, L"*.jpg").empty());
}

TEST_F(PeriodicCapture, TheBudgetKeepsItsNewestPicturesAloneAndALockedSessionWritesNothing) {
    const std::wstring folder = NewFolder();
    std::filesystem::create_directories(folder);
    const std::map<std::wstring, std::string> others = {{L"notes.txt", "my notes"},
                                                        {L"2020-01-01 00_00_00.txt", "not a picture"}};
    for (const auto& [name, text] : others)
        std::ofstream(std::filesystem::path(folder) / name, std::ios::binary) << text;
    // A picture of its own from long ago: the oldest, so the first to go.
    std::ofstream(std::filesystem::path(folder) / L"2001-01-01 00_00_00.jpg", std::ios::binary) << "old";
    constexpr int kPeriod = 300;
    Start(PeriodicConfig(kPeriod, folder) + "PeriodicKeepFiles=3\r\n");
    PressKeys({VK_CONTROL, 'R'});
    ASSERT_TRUE(AnswerNotice(IDOK));

    // Every picture written is seen: each stays until three newer ones are.
    std::set<std::wstring, decltype(&Older)> seen(&Older);
    auto look = [&] {
        std::vector<std::wstring> now = ListFiles(folder, L"*.jpg");
        seen.insert(now.begin(), now.end());
        return now;
    };
    ASSERT_TRUE(WaitUntil([&] { return look(), seen.size() >= 7; }, kWait)) << "fewer pictures than expected";
    // A new picture is in place a moment before the oldest goes, so the
    // folder is looked at until that moment has passed.
    EXPECT_TRUE(WaitUntil([&] { return look().size() <= 3u; }, kWait)) << look().size() << " pictures kept";

    // Locked: the ticks go on but write nothing, until the session is unlocked.
    HWND window = main;
    auto session = [&](WPARAM change) {
        DWORD_PTR ignored = 0;
        // Sent rather than posted, so that it has been handled on return.
        return SendMessageTimeoutW(window, WM_WTSSESSION_CHANGE, change, 0, SMTO_ABORTIFHUNG, kWait, &ignored) != 0;
    };
    ASSERT_TRUE(session(WTS_SESSION_LOCK));
    // Ticks run on the thread that handled the message, so none is under way.
    look();
    const size_t beforeLock = seen.size();
    EXPECT_FALSE(WaitUntil([&] { return look(), seen.size() > beforeLock; }, 6 * kPeriod))
        << "pictures were written while the session was locked";
    const size_t locked = seen.size();
    ASSERT_TRUE(session(WTS_SESSION_UNLOCK));
    EXPECT_TRUE(WaitUntil([&] { return look(), seen.size() >= locked + 2; }, kWait)) << "capture did not resume";
    PressKeys({VK_CONTROL, 'S'});
    ASSERT_TRUE(WaitUntil([&] { return !Checked(L"Real Time Capture"); }, kWait));
    // The tick that wrote the last picture has kept the budget too.
    ASSERT_TRUE(WaitUntil([&] { return look().size() == 3; }, kWait));

    std::vector<std::wstring> kept = look();
    std::sort(kept.begin(), kept.end(), &Older);
    const std::vector<std::wstring> newest(std::prev(seen.end(), 3), seen.end());
    EXPECT_EQ(kept, newest) << "not the newest three";
    EXPECT_EQ(seen.count(L"2001-01-01 00_00_00.jpg"), 1u);
    EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(folder) / L"2001-01-01 00_00_00.jpg"));
    for (const auto& [name, text] : others) {
        std::ifstream in(std::filesystem::path(folder) / name, std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), text) << "another file was touched";
    }
}
