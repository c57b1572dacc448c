#include "bench/OtherPrograms.h"

#include "bench/InputStamps.h"
#include "picture/PictureWindow.h"
#include "tests/support/Input.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"
#include "ui/Error.h"

#include <psapi.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <cstdio>
#include <optional>
#include <vector>

namespace bench {

namespace {

constexpr double kMegabyte = 1024.0 * 1024.0;
// Enough samples for a 99th percentile that is not the single worst one.
constexpr int kInputSamples = 200;

// The settings of the Snapora.exe measured here: no main window, and for
// periodic capture a period and a folder. Everything else is at its default.
std::string ConfigWithoutMainWindow(int periodMs = 0, const std::filesystem::path& folder = {}) {
    std::string ini = "[Options]\r\nStartupSuspend=1\r\n";
    if (periodMs > 0)
        ini +=
            "Interval=" + std::to_string(periodMs) + "\r\nCaptureIndex=0\r\nRealSavePath=" + folder.string() + "\r\n";
    return ini;
}

// bench_window.exe, in front, and the input stamps it shares.
class BareWindow {
public:
    BareWindow() {
        const std::wstring exe = support::BuildFolder() + L"\\bench_window.exe";
        std::wstring commandLine = L"\"" + exe + L"\"";
        STARTUPINFOW startup{sizeof startup};
        if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                           &process_)) {
            CloseHandle(process_.hThread);
            support::WaitUntil([&] { return (window_ = FindWindowW(kBareWindowClass, nullptr)) != nullptr; });
        }
        mapping_ = OpenFileMappingW(FILE_MAP_READ, FALSE, kInputStampsName);
        if (mapping_) stamps_ = static_cast<const InputStamps*>(MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, 0));
        arrived_ = OpenEventW(SYNCHRONIZE | EVENT_MODIFY_STATE, FALSE, kInputArrivedName);
    }
    ~BareWindow() {
        if (stamps_) UnmapViewOfFile(stamps_);
        if (mapping_) CloseHandle(mapping_);
        if (arrived_) CloseHandle(arrived_);
        if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, support::kGenerousWait) != WAIT_OBJECT_0)
                TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
        }
    }
    BareWindow(const BareWindow&) = delete;
    BareWindow& operator=(const BareWindow&) = delete;

    bool Ready() const { return window_ && stamps_ && arrived_; }
    HWND Window() const { return window_; }
    HANDLE Process() const { return process_.hProcess; }

    // Milliseconds from the input to its message in the window, or nothing
    // when none came within the time.
    std::optional<double> TimeToMessage(const std::function<void()>& input, LONGLONG InputStamps::*stamp,
                                        DWORD timeoutMs) const {
        ResetEvent(arrived_);
        const double from = NowMs();
        input();
        if (WaitForSingleObject(arrived_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
        return CounterMs(stamps_->*stamp) - from;
    }

private:
    static double CounterMs(LONGLONG counter) {
        LARGE_INTEGER frequency;
        QueryPerformanceFrequency(&frequency);
        return 1000.0 * static_cast<double>(counter) / static_cast<double>(frequency.QuadPart);
    }

    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
    HANDLE mapping_ = nullptr;
    const InputStamps* stamps_ = nullptr;
    HANDLE arrived_ = nullptr;
};

struct InputTimes {
    std::vector<double> keys;
    std::vector<double> moves;
};

// Keys and mouse moves into the bare window, in turn, spaced a few
// milliseconds apart by a varying amount, so that they fall in every phase
// of whatever Snapora is doing. Each move goes to a point the pointer has
// not been at: Wine can take a late report of an earlier position from the
// X server for the pointer's place and drop a move back there. A move that
// still brings no message within a second is sent again to a new point, and
// its sample is left out.
InputTimes TimeInput(const BareWindow& bare) {
    SetForegroundWindow(bare.Window());
    RECT r{};
    GetWindowRect(bare.Window(), &r);
    const int y = (r.top + r.bottom) / 2, left = r.left + 20, span = r.right - r.left - 40;
    int steps = 0;
    const auto nextPoint = [&] { return POINT{left + (steps++ * 37) % span, y + steps % 2}; };
    support::RestMouse(nextPoint());
    InputTimes times;
    int lost = 0;
    while (static_cast<int>(times.moves.size()) < kInputSamples) {
        const auto key =
            bare.TimeToMessage([] { support::SendKey('A', false); }, &InputStamps::keyDownAt, support::kGenerousWait);
        support::SendKey('A', true);
        if (!key) throw ui::Error(L"no WM_KEYDOWN reached bench_window.exe");
        const auto move = bare.TimeToMessage([&] { support::SendMouse(MOUSEEVENTF_MOVE, nextPoint()); },
                                             &InputStamps::mouseMoveAt, 1000);
        if (!move && ++lost > kInputSamples / 10) throw ui::Error(L"mouse moves did not reach bench_window.exe");
        if (!move) continue;
        times.keys.push_back(*key);
        times.moves.push_back(*move);
        Sleep(3 + (steps * 7) % 11);
    }
    return times;
}

void AddInputRows(Table& table, const std::string& when, const InputTimes& with, const InputTimes& without,
                  double targetMs) {
    const std::string target = "target " + std::to_string(static_cast<int>(targetMs)) + " ms";
    for (const auto& [what, withTimes, withoutTimes] :
         {std::tuple{"key", &with.keys, &without.keys}, std::tuple{"mouse move", &with.moves, &without.moves}}) {
        const double p99 = Percentile(*withTimes, 99), reference = Percentile(*withoutTimes, 99);
        table.Add({"input: " + std::string(what) + " p99, " + when, p99, "ms", "without Snapora", reference});
        table.Add({"input: " + std::string(what) + " p99 added, " + when, std::max(0.0, p99 - reference), "ms", target,
                   targetMs, 1.0});
    }
}

double PrivateBytesOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, &memory, sizeof(memory));
    return static_cast<double>(memory.PagefileUsage);
}

} // namespace

void MeasureInputToOtherPrograms(Table& table, const std::filesystem::path& folder, int periodMs) {
    BareWindow bare;
    if (!bare.Ready()) throw ui::Error(L"bench_window.exe did not start");
    PumpFor(1000);
    const InputTimes without = TimeInput(bare);
    InputTimes idle, periodic;
    {
        support::RunningSnapora snapora({.configIni = ConfigWithoutMainWindow(periodMs, folder)});
        PumpFor(2000);
        idle = TimeInput(bare);
        // Ctrl+R starts periodic capture once its question is answered.
        support::PressKeys({VK_CONTROL, 'R'});
        HWND notice = snapora.WaitForWindow(L"#32770", L"Notice");
        if (!notice) throw ui::Error(L"Snapora.exe asked nothing at Ctrl+R");
        PostMessageW(GetDlgItem(notice, IDOK), BM_CLICK, 0, 0);
        support::WaitUntil([&] { return !IsWindow(notice); });
        // From the second period on, steps follow one another.
        PumpFor(periodMs * 2);
        periodic = TimeInput(bare);
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    AddInputRows(table, "Snapora idle", idle, without, 1);
    char when[64];
    std::snprintf(when, sizeof(when), "periodic %d ms", periodMs);
    AddInputRows(table, when, periodic, without, 5);
}

void MeasureResidentMemory(Table& table, const std::string& mark) {
    BareWindow bare;
    if (!bare.Ready()) throw ui::Error(L"bench_window.exe did not start");
    support::RunningSnapora snapora({.configIni = ConfigWithoutMainWindow()});
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, snapora.ProcessId());
    if (!process) throw ui::Error(L"cannot open Snapora.exe");
    // Start-up is over once the figures stop moving.
    PumpFor(3000);
    const double bareBytes = PrivateBytesOf(bare.Process());
    const double before = PrivateBytesOf(process);

    SetForegroundWindow(bare.Window());
    support::PressKeys({VK_CONTROL, '1'});
    HWND pictureWindow = snapora.WaitForWindow(picture::kPictureWindowClass);
    if (!pictureWindow) throw ui::Error(L"Ctrl+1 gave no picture window");
    PostMessageW(pictureWindow, WM_CLOSE, 0, 0);
    support::WaitUntil([&] { return !IsWindowVisible(pictureWindow); });
    PumpFor(3000);
    const double after = PrivateBytesOf(process);
    CloseHandle(process);

    const std::string prefix = "memory" + mark + ": Snapora.exe";
    table.Add(
        {prefix + " idle, before a capture", before / kMegabyte, "MB", "bare Wine window", bareBytes / kMegabyte});
    table.Add({prefix + " over bare, before capture", (before - bareBytes) / kMegabyte, "MB", "target 12 MB", 12, 1.0});
    table.Add(
        {prefix + " over bare, after one closed", (after - bareBytes) / kMegabyte, "MB", "target 12 MB", 12, 1.0});
}

} // namespace bench
