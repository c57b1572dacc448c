// Faults of the world around the program, each with a clear outcome, nothing
// partial left on disk, and the program going on: periodic capture onto a
// volume that fills up and then turns read-only, into a folder whose name
// cannot exist, and killed in the middle of its writes; a Save over a file
// that another program holds open.
#include "app/MainWindow.h"
#include "picture/PictureWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/e2e/CaptureSession.h"
#include "tests/e2e/LongRun.h"
#include "tests/e2e/SmallVolume.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace e2e;

std::string Names(const std::vector<std::wstring>& names) {
    std::string text;
    for (const std::wstring& name : names)
        text += (text.empty() ? "" : ", ") + Narrow(name);
    return text.empty() ? "none" : text;
}

class Faults : public CaptureSession {
protected:
    // The program's error box, once one is up.
    HWND WaitForErrorBox(DWORD timeoutMs = kWait) const {
        HWND box = nullptr;
        WaitUntil(
            [&] {
                const std::vector<HWND> boxes = app->MessageBoxes();
                box = boxes.empty() ? nullptr : boxes.front();
                return box != nullptr;
            },
            timeoutMs);
        return box;
    }

    // What a failing tick shows while its box stays open for a few periods:
    // exactly one box, whose text starts as given (naming the file or the
    // folder that could not be made), and no file at all in the folder,
    // complete, partial or temporary.
    void ExpectOneBoxAndNothingWritten(HWND box, const std::wstring& folder, const std::wstring& start,
                                       int picturesBefore) {
        ASSERT_NE(box, nullptr) << "the failure was not reported";
        const std::wstring text = MessageBoxText(box);
        EXPECT_EQ(text.rfind(start, 0), 0u) << Narrow(text);
        EXPECT_GT(text.size(), start.size() + 1) << "no reason given: " << Narrow(text);
        RecordProperty("message" + std::to_string(++reports_), Narrow(text));
        Sleep(2000); // four more periods
        EXPECT_EQ(app->MessageBoxes().size(), 1u) << "boxes piled up";
        const PictureSeries series = ReadPictureSeries(folder, false);
        EXPECT_EQ(series.files, picturesBefore) << "a picture was written";
        EXPECT_EQ(series.empty, 0) << "an empty picture was left";
        // A tick under way holds its temporary file while it grabs and
        // encodes; ticks keep to a fixed schedule, so a look after a whole
        // number of periods may fall into one. One left behind never goes.
        std::vector<std::wstring> others;
        EXPECT_TRUE(WaitUntil([&] {
            others = ReadPictureSeries(folder, false).others;
            return others.empty();
        })) << "left behind: "
            << Names(others);
    }

    int Pictures(const std::wstring& folder) const { return ReadPictureSeries(folder, false).files; }

    int reports_ = 0;
};

} // namespace

TEST_F(Faults, PeriodicCaptureOntoAVolumeThatFillsUpAndTurnsReadOnlyReportsOnceAndResumesByItself) {
    SmallVolume volume;
    if (!volume.Unavailable().empty()) GTEST_SKIP() << volume.Unavailable();
    const std::wstring folder = volume.Path() + L"\\shots";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(volume.Fill());
    Start(PeriodicConfig(500, folder));
    ASSERT_TRUE(StartPeriodicCapture(*app));

    // The volume is full.
    HWND box = WaitForErrorBox();
    ExpectOneBoxAndNothingWritten(box, folder, L"Cannot create file \"" + folder + L"\\", 0);
    // Room again: pictures come by themselves, while the box still waits
    // for a user who may be away.
    ASSERT_TRUE(volume.Free());
    ASSERT_TRUE(WaitUntil([&] { return Pictures(folder) > 0; }, kWait)) << "capture did not resume";
    EXPECT_TRUE(IsWindowVisible(box));
    PressOk(box);

    // The volume turns read-only.
    ASSERT_TRUE(volume.SetReadOnly(true));
    const int written = Pictures(folder);
    box = WaitForErrorBox();
    ExpectOneBoxAndNothingWritten(box, folder, L"Cannot create file \"" + folder + L"\\", written);
    ASSERT_TRUE(volume.SetReadOnly(false));
    ASSERT_TRUE(WaitUntil([&] { return Pictures(folder) > written; }, kWait)) << "capture did not resume";
    PressOk(box);

    ASSERT_TRUE(StopPeriodicCapture(*app));
    const PictureSeries series = ReadPictureSeries(folder);
    EXPECT_EQ(series.decodable, series.files);
    EXPECT_TRUE(series.others.empty()) << "left behind: " << Names(series.others);
    // The program is still at the user's hand.
    EXPECT_GT(CaptureAndCancel(*app), 0);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(Faults, KilledInTheMiddleOfPeriodicCaptureLeavesOnlyWholePicturesUnderTheirNames) {
    const TempFolder folder(L"killed");
    // A tick every 100 ms spends most of its time grabbing, encoding and
    // writing, so that many kills fall into writes.
    std::mt19937 random(20240611);
    for (int run = 1; run <= 5; ++run) {
        app.reset();
        Start(PeriodicConfig(100, folder.Path()));
        ASSERT_TRUE(StartPeriodicCapture(*app)) << "run " << run << ": the program did not start again";
        // A whole picture of this run first; then the kill falls anywhere.
        const int before = Pictures(folder.Path());
        ASSERT_TRUE(WaitUntil([&] { return Pictures(folder.Path()) > before; }, 3 * kWait))
            << "run " << run << ": no picture";
        Sleep(200 + random() % 700);
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, app->ProcessId());
        ASSERT_NE(process, nullptr);
        TerminateProcess(process, 1);
        CloseHandle(process);
        ASSERT_TRUE(app->WaitForExit(kWait)) << "run " << run;
    }
    app.reset();

    const PictureSeries series = ReadPictureSeries(folder.Path());
    EXPECT_EQ(series.decodable, series.files) << "a picture under its final name is cut short";
    EXPECT_EQ(series.empty, 0);
    // What an interrupted write leaves is its temporary file, named after the
    // picture with ".<process>-<number>.tmp" added, never a *.jpg.
    for (const std::wstring& name : series.others)
        EXPECT_EQ(name.substr(name.size() - 4), L".tmp") << Narrow(name);
    RecordProperty("left", Names(series.others));
}

TEST_F(Faults, SavingOverAFileThatAnotherProgramHoldsOpenShowsWhyAndKeepsTheOldFile) {
    const TempFolder folder(L"held");
    const std::wstring path = folder.File(L"picture.jpg");
    WriteFileBytes(path, "the picture from before");
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    Start();
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, '1'});
    HWND picture = WaitForPictureWindow();
    ASSERT_NE(picture, nullptr);

    ASSERT_NO_FATAL_FAILURE(SaveAs(picture, path, true));
    HWND box = WaitForErrorBox();
    ASSERT_NE(box, nullptr) << "the failed Save was not reported";
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"Cannot create file \"" + path + L"\". ", 0), 0u) << Narrow(text);
    EXPECT_GT(text.size(), path.size() + 25) << "the reason is missing: " << Narrow(text);
    RecordProperty("message", Narrow(text));
    PressOk(box);
    EXPECT_TRUE(IsWindowVisible(picture)) << "the picture window closed";
    // Read through the handle that holds it, since nothing else may open it.
    char old[64]{};
    DWORD read = 0;
    SetFilePointer(held, 0, nullptr, FILE_BEGIN);
    ReadFile(held, old, sizeof old, &read, nullptr);
    EXPECT_EQ(std::string(old, read), "the picture from before");
    EXPECT_EQ(ListFiles(folder.Path()), std::vector<std::wstring>{L"picture.jpg"}) << "a temporary file was left";

    // The other program lets go: the same Save now replaces the file. Until
    // it has, only the file's size is watched: opening the file to look would
    // hold it just as the other program did, and make the Save fail.
    CloseHandle(held);
    ASSERT_NO_FATAL_FAILURE(SaveAs(picture, path, true));
    std::error_code gone;
    ASSERT_TRUE(WaitUntil([&] { return std::filesystem::file_size(path, gone) != read && !gone; }, kWait))
        << "the picture was not saved;" << OpenBoxTexts();
    ASSERT_TRUE(DecodeJpegFile(path).has_value());
    EXPECT_EQ(DecodeJpegFile(path)->width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_TRUE(app->MessageBoxes().empty());
    Cancel(picture);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(Faults, AFolderNameThatCannotExistIsReportedOnceUntilCtrlSAndAGoodNameInOptionsWorks) {
    const TempFolder scratch(L"named");
    const std::wstring bad = scratch.File(L"shots <1>|2");
    const std::wstring good = scratch.File(L"shots");
    // A whole number of seconds, which the Options window shows and saves as it is.
    Start(PeriodicConfig(1000, bad));
    ASSERT_TRUE(StartPeriodicCapture(*app));
    HWND box = WaitForErrorBox();
    // The folder itself is named, with its own reason.
    ExpectOneBoxAndNothingWritten(box, bad, L"Cannot create folder \"" + bad + L"\". ", 0);
    EXPECT_TRUE(ListFiles(scratch.Path()).empty());

    // The cause stays until the user names another folder. Ctrl+S works
    // while the box is up, and after OK no box comes back.
    ASSERT_TRUE(StopPeriodicCapture(*app)) << "Ctrl+S did not stop periodic capture behind the box";
    PressOk(box);
    Sleep(1500);
    EXPECT_TRUE(app->MessageBoxes().empty()) << "a box came back after Ctrl+S";

    // Options: a good folder, Save; then Ctrl+R writes there.
    ASSERT_TRUE(SaveFolderInOptions(bad, good));
    ASSERT_TRUE(StartPeriodicCapture(*app));
    ASSERT_TRUE(WaitUntil([&] { return Pictures(good) > 0; }, kWait)) << "capture did not write to the good folder";
    ASSERT_TRUE(StopPeriodicCapture(*app));
    const PictureSeries series = ReadPictureSeries(good);
    EXPECT_EQ(series.decodable, series.files);
    EXPECT_TRUE(series.others.empty()) << "left behind: " << Names(series.others);
    EXPECT_TRUE(app->MessageBoxes().empty());
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}
