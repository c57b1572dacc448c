#include "tests/e2e/LongRun.h"

#include "app/MainWindow.h"
#include "picture/PictureWindow.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <algorithm>
#include <cwchar>
#include <filesystem>

namespace e2e {

namespace fs = std::filesystem;

namespace {

// The picture window's "Cancel" button, on its toolbar.
POINT CancelButton(HWND pictureWindow) { return ScreenPoint(pictureWindow, {608 + 73 / 2, 8 + 30}); }

// Where the mouse rests between captures: clear of the picture window's
// toolbar and of the taskbar.
constexpr POINT kRestingPlace{1200, 980};

bool RealTimeChecked(const RunningSnapora& app) {
    return IsChecked(app.FindWindowOf(app::kMainWindowClass), L"Real Time Capture");
}

} // namespace

int CaptureAndCancel(const RunningSnapora& app, DWORD timeoutMs) {
    // Under Wine a hotkey typed while the activation passes from the window
    // just closed to the next can be lost: it is typed again when no picture
    // window comes.
    HWND picture = nullptr;
    bool shown = false;
    for (int attempt = 0; attempt < 2 && !shown; ++attempt) {
        PressKeys({VK_CONTROL, '1'});
        shown = WaitUntil(
            [&] {
                picture = app.FindWindowOf(picture::kPictureWindowClass, nullptr, false);
                return picture && IsZoomed(picture) && !IsIconic(picture) && GetForegroundWindow() == picture;
            },
            timeoutMs / 2);
    }
    if (!shown) return 0;
    // The window is the same one each time, and a press that comes within
    // the double-click time and a few pixels of the last one is the second
    // half of a double click, which the buttons do not take as a click. So
    // the press lands by turns left and right of the button's middle, as a
    // user's presses never land on the same pixel twice.
    static int turn = 0;
    POINT cancel = CancelButton(picture);
    cancel.x += (++turn % 2 ? -1 : 1) * 3 * GetSystemMetrics(SM_CXDOUBLECLK);
    // A click that arrives while a freshly shown window is still being
    // activated can be lost under Wine: the pointer rests on the button for a
    // moment first, and the button is pressed again should the window stay.
    MoveMouse(cancel);
    Pause(100);
    int presses = 0;
    bool closed = false;
    while (!closed && presses < 3) {
        Click(cancel);
        ++presses;
        closed = WaitUntil([&] { return !IsWindowVisible(picture); }, timeoutMs / 3);
    }
    MoveMouse(kRestingPlace);
    return closed ? presses : 0;
}

std::string PeriodicConfig(int periodMs, const std::wstring& folder) {
    return "[Options]\r\nInterval=" + std::to_string(periodMs) +
           "\r\nIntervalCent=Seconds\r\nRealSavePath=" + Narrow(folder) + "\r\n";
}

bool StartPeriodicCapture(const RunningSnapora& app, DWORD timeoutMs) {
    // Under Wine a hotkey typed while the activation passes from a closing
    // window to the next can be lost: it is typed again when no confirmation
    // comes.
    HWND notice = nullptr;
    for (int attempt = 0; attempt < 2 && !notice; ++attempt) {
        PressKeys({VK_CONTROL, 'R'});
        notice = app.WaitForWindow(L"#32770", L"Notice", timeoutMs / 2);
    }
    if (!notice) return false;
    // OK is given by the command that the box's OK button sends, which
    // does not depend on whether the box is active; should the key have come
    // twice after all, the second confirmation gets OK as well.
    return WaitUntil(
        [&] {
            HWND open = app.FindWindowOf(L"#32770", L"Notice", false);
            if (open) PostMessageW(open, WM_COMMAND, IDOK, 0);
            return !open && RealTimeChecked(app);
        },
        timeoutMs, 100);
}

bool StopPeriodicCapture(const RunningSnapora& app, DWORD timeoutMs) {
    // Lost like the start's, when typed just after a box closed: typed again.
    // A second stop does nothing.
    bool stopped = false;
    for (int attempt = 0; attempt < 2 && !stopped; ++attempt) {
        PressKeys({VK_CONTROL, 'S'});
        stopped = WaitUntil([&] { return !RealTimeChecked(app); }, timeoutMs / 2);
    }
    return stopped;
}

int PictureSeries::Gaps(int periodSeconds) const {
    return static_cast<int>(
        std::count_if(steps.begin(), steps.end(), [&](std::int64_t step) { return step > periodSeconds + 1; }));
}

std::int64_t PictureSeries::LongestStep() const {
    return steps.empty() ? 0 : *std::max_element(steps.begin(), steps.end());
}

std::optional<std::int64_t> TimeStampOf(const std::wstring& name) {
    SYSTEMTIME t{};
    unsigned year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    int used = 0;
    if (std::swscanf(name.c_str(), L"%4u-%2u-%2u %2u_%2u_%2u%n", &year, &month, &day, &hour, &minute, &second, &used) !=
            6 ||
        used != 19)
        return std::nullopt;
    const std::wstring rest = name.substr(19);
    unsigned number = 0;
    wchar_t tail[8]{};
    if (rest != L".jpg" &&
        !(std::swscanf(rest.c_str(), L" (%u)%7ls", &number, tail) == 2 && number >= 2 && std::wstring(tail) == L".jpg"))
        return std::nullopt;
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    FILETIME file{};
    if (!SystemTimeToFileTime(&t, &file)) return std::nullopt;
    return static_cast<std::int64_t>((static_cast<ULONGLONG>(file.dwHighDateTime) << 32 | file.dwLowDateTime) /
                                     10000000ULL);
}

PictureSeries ReadPictureSeries(const std::wstring& folder, bool decode) {
    PictureSeries series;
    std::vector<std::int64_t> stamps;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, error)) {
        if (!entry.is_regular_file()) continue;
        const std::wstring name = entry.path().filename().wstring();
        const bool picture = name.size() > 4 && _wcsicmp(name.c_str() + name.size() - 4, L".jpg") == 0;
        if (!picture) {
            series.others.push_back(name);
            continue;
        }
        ++series.files;
        if (entry.file_size() == 0) ++series.empty;
        if (decode && DecodeJpegFile(entry.path().wstring())) ++series.decodable;
        if (const auto stamp = TimeStampOf(name))
            stamps.push_back(*stamp);
        else
            ++series.unnamed;
    }
    std::sort(stamps.begin(), stamps.end());
    for (size_t i = 1; i < stamps.size(); ++i)
        series.steps.push_back(stamps[i] - stamps[i - 1]);
    return series;
}

} // namespace e2e
