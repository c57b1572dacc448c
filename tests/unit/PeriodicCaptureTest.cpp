// Periodic capture: the names of its files, the folders it creates, and real
// ticks that grab the screen of the test desktop and write JPEG files, which
// are decoded again with libjpeg-turbo.
#include "RecordedBoxes.h"
#include "TempFolder.h"
#include "capture/Grab.h"
#include "capture/PeriodicCapture.h"
#include "ui/Error.h"
#include "ui/HostWindow.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <jpeglib.h>

using capture::PeriodicCapture;
using testing_support::ReadFileBytes;
using testing_support::TempFolder;
using testing_support::WriteFileBytes;

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

bool IsFolder(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

struct DecodedJpeg {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    bool progressive = false;
    std::vector<unsigned char> rgb;
    std::uint32_t Pixel(int x, int y) const {
        const unsigned char* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
        return (std::uint32_t{p[0]} << 16) | (std::uint32_t{p[1]} << 8) | p[2];
    }
};

struct DecodeError {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void DecodeErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<DecodeError*>(info->err)->jump, 1); }

// Decodes with no C++ object alive across the library's longjmp.
bool DecodeInto(const std::string& bytes, DecodedJpeg* out, DecodeError* error) {
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&error->manager);
    error->manager.error_exit = DecodeErrorExit;
    if (setjmp(error->jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
    jpeg_read_header(&info, TRUE);
    out->components = info.num_components;
    out->progressive = info.progressive_mode != 0;
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    out->width = static_cast<int>(info.output_width);
    out->height = static_cast<int>(info.output_height);
    out->rgb.resize(static_cast<size_t>(out->width) * out->height * 3);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = out->rgb.data() + static_cast<size_t>(info.output_scanline) * out->width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

DecodedJpeg DecodeJpegFile(const std::wstring& path) {
    DecodedJpeg result;
    DecodeError error;
    result.ok = DecodeInto(ReadFileBytes(path), &result, &error);
    return result;
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

// Handles what arrives for a while, so that windows paint.
void Pump(int milliseconds) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    do {
        ui::App().ProcessMessages();
        Sleep(10);
    } while (static_cast<int>(end - GetTickCount()) > 0);
}

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
    options.RealSavePath = folder.File(L"shots\\today"); // two levels missing
    int method = 0;
    PeriodicCapture capture(options, [&] { return method; });
    int starting = 0, succeeded = 0;
    capture.OnTickStarting = [&] { ++starting; };
    capture.OnTickSucceeded = [&] { ++succeeded; };

    const COLORREF colour = RGB(200, 40, 60);
    ColourWindow window(colour, {100, 80, 420, 320});
    Pump(200);
    ASSERT_EQ(GetForegroundWindow(), window.Handle());

    RecordedBoxes boxes;
    capture.Tick();
    capture.Tick();
    method = 1;
    capture.Tick();
    EXPECT_TRUE(boxes.errors.empty()) << (boxes.errors.empty() ? "" : Narrow(boxes.errors[0]));
    EXPECT_EQ(starting, 3);
    EXPECT_EQ(succeeded, 3);

    const std::vector<std::wstring> files = FilesIn(options.RealSavePath);
    ASSERT_EQ(files.size(), 3u) << "no picture replaced another, and no temporary file is left";
    const std::wregex pattern(LR"(\d{4}-\d\d-\d\d \d\d_\d\d_\d\d( \(\d\))?\.jpg)");
    int screenSized = 0, windowSized = 0;
    for (const std::wstring& name : files) {
        EXPECT_TRUE(std::regex_match(name, pattern)) << Narrow(name);
        const DecodedJpeg picture = DecodeJpegFile((std::filesystem::path(options.RealSavePath) / name).wstring());
        ASSERT_TRUE(picture.ok) << Narrow(name);
        EXPECT_EQ(picture.components, 3) << "colour, not grey";
        EXPECT_FALSE(picture.progressive);
        if (picture.width == GetSystemMetrics(SM_CXSCREEN) && picture.height == GetSystemMetrics(SM_CYSCREEN)) {
            ++screenSized;
            EXPECT_TRUE(CloseTo(picture.Pixel(260, 200), 0xC8283C)) << "the window, where it is on the screen";
        } else if (picture.width == 320 && picture.height == 240) {
            ++windowSized;
            EXPECT_TRUE(CloseTo(picture.Pixel(160, 120), 0xC8283C));
        }
    }
    EXPECT_EQ(screenSized, 2);
    EXPECT_EQ(windowSized, 1);

    // The grab keeps its picture's memory from one tick to the next.
    ui::Bitmap screen;
    capture::GetFullScreenBmp(screen);
    const HBITMAP section = screen.Handle();
    capture::GetFullScreenBmp(screen);
    EXPECT_EQ(screen.Handle(), section);
}

TEST(PeriodicCapture, TheTimerTicksWithItsPeriodAndAPeriodOfZeroOrLessRunsNothing) {
    TempFolder folder;
    settings::CaptureOptions options;
    options.RealSavePath = folder.Path().wstring();
    PeriodicCapture capture(options, [] { return 0; });
    int succeeded = 0;
    capture.OnTickSucceeded = [&] { ++succeeded; };
    for (int period : {0, -5}) {
        capture.Start(period);
        EXPECT_FALSE(capture.Running()) << period;
    }
    capture.Start(50);
    EXPECT_TRUE(capture.Running());
    EXPECT_EQ(capture.Interval(), 50);
    for (int waited = 0; waited < 10000 && succeeded < 2; waited += 10)
        Pump(10);
    capture.Stop();
    EXPECT_FALSE(capture.Running());
    EXPECT_GE(succeeded, 2);
    EXPECT_EQ(FilesIn(folder.Path()).size(), static_cast<size_t>(succeeded));
}

TEST(PeriodicCapture, AFailedTickShowsOneErrorBoxAtATimeAndKeepsTheTriggerStopped) {
    TempFolder folder;
    settings::CaptureOptions options;
    PeriodicCapture capture(options, [] { return 0; });
    int starting = 0, succeeded = 0;
    capture.OnTickStarting = [&] { ++starting; };
    capture.OnTickSucceeded = [&] { ++succeeded; };

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
    options.RealSavePath = folder.File(L"file\\shots");
    capture.Tick();
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_EQ(errors[1].rfind(L"Cannot create folder \"" + folder.File(L"file") + L"\". ", 0), 0u) << Narrow(errors[1]);
    EXPECT_EQ(succeeded, 0) << "the capture trigger stays stopped";

    options.RealSavePath = folder.File(L"shots");
    capture.Tick();
    EXPECT_EQ(errors.size(), 2u);
    EXPECT_EQ(succeeded, 1);
    EXPECT_EQ(FilesIn(folder.Path()), (std::vector<std::wstring>{L"file", L"shots"}))
        << "the failed writes left nothing behind";
}
