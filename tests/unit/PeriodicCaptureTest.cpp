// Periodic capture: the names of its files, the folders it creates, and real
// ticks that grab the screen of the test desktop and write JPEG files, which
// are decoded again with libjpeg-turbo.
#include "RecordedBoxes.h"
#include "capture/Grab.h"
#include "capture/PeriodicCapture.h"
#include "capture/PeriodicSchedule.h"
#include "capture/PictureFolder.h"
#include "ui/Error.h"
#include "tests/support/Files.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"
#include "ui/HostWindow.h"
#include "imaging/PngImage.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <string>
#include <vector>

using capture::PeriodicCapture;
using namespace support;

namespace {

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CloseTo(std::uint32_t a, std::uint32_t b) {
    for (int shift = 0; shift < 24; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 6) return false;
    return true;
}

std::vector<std::wstring> FilesIn(const std::filesystem::path& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().wstring());
    std::sort(names.begin(), names.end());
    return names;
}

// A window of one flat colour, to be recognised in the pictures.
class ColourWindow : public ui::HostWindow {
public:
    ColourWindow(COLORREF colour, RECT bounds) {
        Color = colour;
        CreateHost(L"SnaporaPeriodicCaptureTestWindow", {.caption = L"periodic",
                                                         .style = WS_POPUP,
                                                         .x = bounds.left,
                                                         .y = bounds.top,
                                                         .width = bounds.right - bounds.left,
                                                         .height = bounds.bottom - bounds.top});
        ShowWindow(Handle(), SW_SHOW);
        SetForegroundWindow(Handle());
        UpdateWindow(Handle());
    }
};

} // namespace

TEST(PeriodicCaptureFiles, NamesAreTheLocalTimeInTheFolderAndNeverReplaceAnEarlierPicture) {
    SYSTEMTIME t{};
    t.wYear = 2008, t.wMonth = 3, t.wDay = 5, t.wHour = 14, t.wMinute = 7, t.wSecond = 9, t.wMilliseconds = 999;
    EXPECT_EQ(capture::TimeStampedFileName(L"D:\\output", t), L"D:\\output\\2008-03-05 14_07_09.jpg");
    EXPECT_EQ(capture::TimeStampedFileName(L"D:\\output\\", t), L"D:\\output\\\\2008-03-05 14_07_09.jpg")
        << "the folder is taken as it is";

    EXPECT_EQ(capture::NumberedFileName(L"D:\\output\\2008-03-05 14_07_09.jpg", 1),
              L"D:\\output\\2008-03-05 14_07_09.jpg");
    EXPECT_EQ(capture::NumberedFileName(L"D:\\output\\2008-03-05 14_07_09.jpg", 2),
              L"D:\\output\\2008-03-05 14_07_09 (2).jpg");
    EXPECT_EQ(capture::NumberedFileName(L"D:\\shots.old\\picture", 3), L"D:\\shots.old\\picture (3)")
        << "a dot in a folder's name is no extension";

    TempFolder folder;
    const std::wstring name = folder.File(L"2008-03-05 14_07_09.jpg");
    EXPECT_EQ(capture::FreeFileName(name), name);
    WriteFileBytes(name, "first");
    WriteFileBytes(folder.File(L"2008-03-05 14_07_09 (2).jpg"), "second");
    std::filesystem::create_directory(folder.Path() / L"2008-03-05 14_07_09 (3).jpg");
    EXPECT_EQ(capture::FreeFileName(name), folder.File(L"2008-03-05 14_07_09 (4).jpg"))
        << "files and folders alike are taken";
}

TEST(PeriodicCaptureFiles, FoldersAreCreatedDownFromTheFirstThatExistsOrTheLevelThatFailsIsNamed) {
    TempFolder folder;
    const std::wstring deep = folder.File(L"a\\b\\c");
    capture::CreateFolderTree(deep);
    EXPECT_TRUE(IsFolder(deep));
    capture::CreateFolderTree(deep); // an existing folder is fine
    capture::CreateFolderTree(folder.File(L"d\\e\\"));
    EXPECT_TRUE(IsFolder(folder.File(L"d\\e")));
    capture::CreateFolderTree(L"C:"); // a drive counts as existing

    // A level that cannot be created (a file stands in its way) is named
    // with the system's reason, and nothing below it is made.
    WriteFileBytes(folder.File(L"file"), "x");
    const auto messageOf = [](const std::wstring& path) {
        try {
            capture::CreateFolderTree(path);
        } catch (const ui::Error& error) {
            return error.Message();
        }
        return std::wstring(L"no error");
    };
    const std::wstring blocked = messageOf(folder.File(L"file\\sub\\deeper"));
    const std::wstring start = L"Cannot create folder \"" + folder.File(L"file") + L"\". ";
    EXPECT_EQ(blocked.substr(0, start.size()), start);
    EXPECT_GT(blocked.size(), start.size()) << "no reason given";
    EXPECT_FALSE(IsFolder(folder.File(L"file\\sub")));
    EXPECT_EQ(messageOf(L""), L"Unable to create directory");
}

TEST(PeriodicCapture, TicksWriteDecodablePicturesOfTheScreenOrTheForegroundWindowIntoANewFolder) {
    TempFolder folder;
    settings::CaptureOptions options;
    options.PeriodicFolder = folder.File(L"shots\\today"); // two levels missing
    auto source = settings::PeriodicSource::FullScreen;
    PeriodicCapture capture(options, [&] { return source; });
    int starting = 0, succeeded = 0;
    capture.TickStarting = [&] { ++starting; };
    capture.TickSucceeded = [&] { ++succeeded; };

    const COLORREF colour = RGB(200, 40, 60);
    ColourWindow window(colour, {100, 80, 420, 320});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window.Handle(); }));
    ASSERT_TRUE(WaitUntil([] { return CloseTo(ScreenPixel({260, 200}), 0xC8283C); })) << "the window did not show";

    RecordedBoxes boxes;
    capture.Tick();
    capture.Tick();
    source = settings::PeriodicSource::ActiveWindow;
    capture.Tick();
    EXPECT_TRUE(boxes.errors.empty()) << (boxes.errors.empty() ? "" : Narrow(boxes.errors[0]));
    EXPECT_EQ(starting, 3);
    EXPECT_EQ(succeeded, 3);

    const std::vector<std::wstring> files = FilesIn(options.PeriodicFolder);
    ASSERT_EQ(files.size(), 3u) << "no picture replaced another, and no temporary file is left";
    const std::wregex pattern(LR"(\d{4}-\d\d-\d\d \d\d_\d\d_\d\d( \(\d\))?\.jpg)");
    int screenSized = 0, windowSized = 0;
    for (const std::wstring& name : files) {
        EXPECT_TRUE(std::regex_match(name, pattern)) << Narrow(name);
        const std::optional<DecodedJpeg> picture =
            DecodeJpegFile((std::filesystem::path(options.PeriodicFolder) / name).wstring());
        ASSERT_TRUE(picture) << Narrow(name);
        EXPECT_EQ(picture->components, 3) << "colour, not grey";
        EXPECT_FALSE(picture->progressive);
        if (picture->width == GetSystemMetrics(SM_CXSCREEN) && picture->height == GetSystemMetrics(SM_CYSCREEN)) {
            ++screenSized;
            EXPECT_TRUE(CloseTo(picture->At(260, 200), 0xC8283C)) << "the window, where it is on the screen";
        } else if (picture->width == 320 && picture->height == 240) {
            ++windowSized;
            EXPECT_TRUE(CloseTo(picture->At(160, 120), 0xC8283C));
        }
    }
    EXPECT_EQ(screenSized, 2);
    EXPECT_EQ(windowSized, 1);

    // The grab keeps its picture's memory from one tick to the next.
    ui::Bitmap screen;
    capture::GrabScreen(screen);
    const HBITMAP section = screen.Handle();
    capture::GrabScreen(screen);
    EXPECT_EQ(screen.Handle(), section);
}

TEST(PeriodicCapture, TheTimerTicksWithItsPeriodAndAPeriodOfZeroOrLessRunsNothing) {
    TempFolder folder;
    settings::CaptureOptions options;
    options.PeriodicFolder = folder.Path().wstring();
    PeriodicCapture capture(options, [] { return settings::PeriodicSource::FullScreen; });
    // Stopped from the second tick: when a tick takes longer than the period
    // on a loaded machine, the timer is due again whenever the queue is
    // empty, and handling the messages would never come to an end.
    int succeeded = 0;
    capture.TickSucceeded = [&] {
        if (++succeeded == 2) capture.Stop();
    };
    for (int period : {0, -5}) {
        capture.Start(period);
        EXPECT_FALSE(capture.Running()) << period;
    }
    capture.Start(50);
    EXPECT_TRUE(capture.Running());
    EXPECT_EQ(capture.Interval(), 50);
    WaitUntil([&] { return succeeded >= 2; });
    capture.Stop();
    EXPECT_FALSE(capture.Running());
    EXPECT_GE(succeeded, 2);
    EXPECT_EQ(FilesIn(folder.Path()).size(), static_cast<size_t>(succeeded));
}

TEST(PeriodicCapture, AFailedTickShowsOneErrorBoxAtATimeAndKeepsTheTriggerStopped) {
    TempFolder folder;
    settings::CaptureOptions options;
    PeriodicCapture capture(options, [] { return settings::PeriodicSource::FullScreen; });
    int starting = 0, succeeded = 0;
    capture.TickStarting = [&] { ++starting; };
    capture.TickSucceeded = [&] { ++succeeded; };

    // The handler stands for the error box, whose message loop lets the
    // timer tick again while it is open.
    std::vector<std::wstring> errors;
    RecordedBoxes boxes; // puts the usual handlers back at the end
    ui::App().ErrorHandler = [&](const std::wstring& message) {
        errors.push_back(message);
        capture.Tick();
        capture.Tick();
    };
    capture.Tick(); // no folder at all
    EXPECT_EQ(errors, std::vector<std::wstring>{L"Unable to create directory"});
    EXPECT_EQ(starting, 3) << "the ticks during the box ran, and their failures opened no box";

    // A folder that cannot be created is named in the message, and the next
    // failure shows a box again.
    WriteFileBytes(folder.File(L"file"), "x");
    options.PeriodicFolder = folder.File(L"file\\shots");
    capture.Tick();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].rfind(L"Cannot create folder \"" + folder.File(L"file") + L"\". ", 0), 0u) << Narrow(errors[1]);
    EXPECT_EQ(succeeded, 0) << "the capture trigger stays stopped";

    options.PeriodicFolder = folder.File(L"shots");
    capture.Tick();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(succeeded, 1);
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::wstring>{L"file", L"shots"}))
        << "the failed writes left nothing behind";
}

TEST(PeriodicSchedule, TicksFallAtTheStartPlusWholePeriodsAndMissedSlotsAreSkipped) {
    capture::PeriodicSchedule schedule;
    schedule.Start(1000.5, 1000);
    EXPECT_DOUBLE_EQ(schedule.Due(), 2000.5);
    EXPECT_EQ(schedule.DelayFrom(1000.5), 1000u);
    EXPECT_FALSE(schedule.IsDue(2000.4)) << "a timer that fires early waits out the rest";
    EXPECT_EQ(schedule.DelayFrom(2000.4), 1u);

    // A tick that starts late and runs long does not move the next slot.
    ASSERT_TRUE(schedule.IsDue(2300));
    EXPECT_EQ(schedule.TickDone(2900), 0);
    EXPECT_DOUBLE_EQ(schedule.Due(), 3000.5);
    EXPECT_EQ(schedule.DelayFrom(2900), 101u);

    // One that overruns two slots misses them, and the next tick waits for
    // its own slot instead of following at once.
    EXPECT_EQ(schedule.TickDone(5200), 2);
    EXPECT_DOUBLE_EQ(schedule.Due(), 6000.5);

    // A tick that ends before its own slot (its timer fired early) still
    // moves on to the next one.
    EXPECT_EQ(schedule.TickDone(5999), 0);
    EXPECT_DOUBLE_EQ(schedule.Due(), 7000.5);
}

TEST(PeriodicCaptureFiles, TheBudgetDeletesOnlyItsOwnOldestPicturesOfBothFormats) {
    using capture::ParseOwnPictureName;
    ASSERT_TRUE(ParseOwnPictureName(L"2026-03-05 14_07_09.jpg"));
    EXPECT_EQ(ParseOwnPictureName(L"2026-03-05 14_07_09 (12).png")->number, 12);
    EXPECT_EQ(ParseOwnPictureName(L"2026-03-05 14_07_09.png")->timeStamp, L"2026-03-05 14_07_09");
    for (const wchar_t* other :
         {L"2026-03-05 14_07_09.txt", L"2026-03-05 14_07_09 (1).jpg", L"2026-03-05 14_07_09 (02).jpg",
          L"2026-03-05 14_07_09 ().jpg", L"2026-03-05 14_07_09.JPG", L"2026-03-05 14-07-09.jpg",
          L"2026-03-05 14_07_09.jpg.tmp", L"x2026-03-05 14_07_09.jpg", L"notes.txt"})
        EXPECT_FALSE(ParseOwnPictureName(other)) << Narrow(other);

    TempFolder folder;
    const std::vector<std::wstring> own = {
        L"2026-03-05 14_07_09.jpg", L"2026-03-05 14_07_09 (2).png", L"2026-03-05 14_07_09 (10).jpg",
        L"2026-03-05 14_07_10.png", L"2026-03-06 09_00_00.jpg",
    };
    const std::vector<std::wstring> others = {L"2020-01-01 00_00_00.txt", L"notes.txt", L"2020-01-01 00_00_00 (1).jpg",
                                              L"2026-03-05 14_07_09.jpg.1.tmp"};
    for (const auto& name : own)
        WriteFileBytes(folder.File(name), "picture");
    for (const auto& name : others)
        WriteFileBytes(folder.File(name), "keep me");
    std::filesystem::create_directory(folder.Path() / L"2000-01-01 00_00_00.jpg");

    EXPECT_EQ(capture::PruneOwnPictures(folder.Path().wstring(), 0), 0) << "0 keeps all";
    EXPECT_EQ(capture::PruneOwnPictures(folder.Path().wstring(), 3), 2);
    std::vector<std::wstring> expected = {own[2], own[3], own[4], L"2000-01-01 00_00_00.jpg"};
    expected.insert(expected.end(), others.begin(), others.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FilesIn(folder.Path()), expected) << "(10) is newer than (2), and nothing else was touched";
    for (const auto& name : others)
        EXPECT_EQ(ReadFileBytes(folder.File(name)), "keep me");

    // A picture that cannot be deleted stays; no newer one goes in its place.
    SetFileAttributesW(folder.File(own[2]).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(capture::PruneOwnPictures(folder.Path().wstring(), 1), 1);
    EXPECT_TRUE(std::filesystem::exists(folder.File(own[2])));
    EXPECT_FALSE(std::filesystem::exists(folder.File(own[3])));
    EXPECT_TRUE(std::filesystem::exists(folder.File(own[4])));
}

TEST(PeriodicCapture, AStillScreenIsWrittenOnceAsLosslessPngUntilItChangesAndTheBudgetHolds) {
    TempFolder folder;
    settings::CaptureOptions options;
    options.PeriodicFolder = folder.Path().wstring();
    options.More.PeriodicSkipUnchanged = true;
    options.More.PeriodicFormat = settings::PeriodicFileFormat::Png;
    options.More.PeriodicKeepFiles = 2;
    PeriodicCapture capture(options, [] { return settings::PeriodicSource::FullScreen; });
    int succeeded = 0;
    capture.TickSucceeded = [&] { ++succeeded; };
    ColourWindow window(RGB(20, 120, 220), {100, 80, 420, 320});
    ASSERT_TRUE(WaitUntil([] { return ScreenPixel({200, 200}) == RgbOf(RGB(20, 120, 220)); }));

    RecordedBoxes boxes;
    for (int tick = 0; tick < 5; ++tick)
        capture.Tick();
    EXPECT_EQ(succeeded, 5) << "an unchanged picture is no failure";
    EXPECT_EQ(capture.Progress().written, 1);
    EXPECT_EQ(capture.Progress().skipped, 4);
    std::vector<std::wstring> files = FilesIn(folder.Path());
    ASSERT_EQ(files.size(), 1u) << "no temporary file of a skipped tick is left either";
    EXPECT_EQ(files[0].substr(files[0].size() - 4), L".png");

    // A change is written, each one once, and the budget keeps the newest two.
    for (COLORREF colour : {RGB(200, 30, 30), RGB(30, 200, 30)}) {
        window.Color = colour;
        InvalidateRect(window.Handle(), nullptr, TRUE);
        ASSERT_TRUE(WaitUntil([&] { return ScreenPixel({200, 200}) == RgbOf(colour); }));
        capture.Tick();
        capture.Tick();
    }
    EXPECT_TRUE(boxes.errors.empty()) << (boxes.errors.empty() ? "" : Narrow(boxes.errors[0]));
    EXPECT_EQ(capture.Progress().written, 3);
    EXPECT_EQ(capture.Progress().skipped, 6);
    files = FilesIn(folder.Path());
    ASSERT_EQ(files.size(), 2u);
    std::sort(files.begin(), files.end(), [](const std::wstring& a, const std::wstring& b) {
        return capture::OlderPicture(*capture::ParseOwnPictureName(a), *capture::ParseOwnPictureName(b));
    });
    const std::string newest = ReadFileBytes(folder.File(files[1]));
    EXPECT_EQ(imaging::PngImage::Decode(newest.data(), newest.size()).Pixel(200, 200) & 0xFFFFFF, 0x1EC81Eu)
        << "the last change was kept";

    // A new start writes its first picture, however like the last it is.
    capture.Start(60000);
    capture.Tick();
    capture.Stop();
    EXPECT_EQ(capture.Progress().written, 1);
    EXPECT_EQ(capture.Progress().skipped, 0);
}
