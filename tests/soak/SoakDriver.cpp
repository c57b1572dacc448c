// The long run that tools/soak.sh drives: the real Snapora.exe takes a
// picture every second by periodic capture while a user makes hundreds of
// captures by hotkey (Ctrl+1, the picture window, "Cancel"). Meanwhile the
// program's private bytes, GDI objects and windows are sampled from
// outside; at the end the folder of pictures is read back. One line per
// figure says PASS or FAIL, and the exit code is 0 only when all pass.
//
//   soak_driver --minutes M --cycles N [--samples FILE.csv]
//   soak_driver --check-counters  shows that the counters see what they count
//   soak_driver --stats PID       prints the figures of any process
#include "app/MainWindow.h"
#include "tests/e2e/LongRun.h"
#include "tests/e2e/ProcessStats.h"
#include "tests/support/Files.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Windows.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace e2e;

constexpr int kPeriodMs = 1000;
// Figures may move by this much after warm-up before they count as growth.
constexpr double kFlatTolerance = 0.05;

struct Sample {
    double seconds = 0;
    int cycles = 0;
    ProcessStats stats;
};

double SecondsSince(ULONGLONG start) { return static_cast<double>(GetTickCount64() - start) / 1000.0; }

bool failed = false;

void Report(const char* figure, const std::string& detail, bool pass) {
    std::printf("  %-20s %-66s %s\n", figure, detail.c_str(), pass ? "PASS" : "FAIL");
    std::fflush(stdout);
    failed |= !pass;
}

std::string Format(const char* format, double a, double b = 0, double c = 0, double d = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// A figure is flat when no sample after warm-up exceeds the first one after
// warm-up by more than the tolerance. The format shows the figure after
// warm-up, its lowest and highest since, and its value at the start.
void ReportFlat(const char* figure, const std::vector<Sample>& samples, double warmUpSeconds, const char* format,
                double scale, double (*value)(const ProcessStats&)) {
    const auto first =
        std::find_if(samples.begin(), samples.end(), [&](const Sample& s) { return s.seconds >= warmUpSeconds; });
    if (first == samples.end()) {
        Report(figure, "no sample after warm-up", false);
        return;
    }
    const double baseline = value(first->stats);
    double highest = baseline, lowest = baseline;
    for (auto s = first; s != samples.end(); ++s) {
        highest = std::max(highest, value(s->stats));
        lowest = std::min(lowest, value(s->stats));
    }
    const double growth = baseline > 0 ? (highest - baseline) / baseline : 1.0;
    const std::string detail =
        Format(format, baseline / scale, lowest / scale, highest / scale, value(samples.front().stats) / scale) +
        Format(", %+.1f %%", growth * 100);
    Report(figure, detail, baseline > 0 && growth <= kFlatTolerance);
}

int RunSoak(int minutes, int cycles, const std::wstring& samplesPath) {
    const double seconds = minutes * 60.0;
    // The first fifth of the run, and at least 10 s, lets heaps, caches and
    // the fonts of the windows settle before the figures must hold still.
    const double warmUp = std::max(10.0, seconds / 5);
    const double sampleEvery = std::max(2.0, seconds / 100);
    std::printf("Soak: periodic capture every %d s for %d min, %d capture cycles (Ctrl+1, picture window, "
                "Cancel) meanwhile; warm-up %.0f s, a sample every %.0f s\n",
                kPeriodMs / 1000, minutes, cycles, warmUp, sampleEvery);
    std::fflush(stdout);

    TempFolder pictures(L"soak");
    std::optional<RunningSnapora> app;
    app.emplace(RunningSnapora::LaunchArgs{.configIni = PeriodicConfig(kPeriodMs, pictures.Path())});
    HWND main = app->WaitForWindow(app::kMainWindowClass, L"Snapora", 15000);
    if (!main || !Answers(main, 15000)) {
        Report("start", "no main window", false);
        return 1;
    }
    if (!StartPeriodicCapture(*app)) {
        Report("start", "periodic capture did not start", false);
        return 1;
    }
    const ULONGLONG start = GetTickCount64();
    std::vector<Sample> samples;
    auto sample = [&](int done) {
        if (auto stats = ReadProcessStats(app->ProcessId())) samples.push_back({SecondsSince(start), done, *stats});
    };
    sample(0);

    int done = 0, lost = 0, pressedAgain = 0;
    for (int cycle = 1; cycle <= cycles && app->IsRunning(); ++cycle) {
        // The cycles are spread over the run rather than crowded into its start.
        const double due = seconds * (cycle - 1) / cycles;
        while (SecondsSince(start) < due)
            Sleep(50);
        const int presses = CaptureAndCancel(*app);
        if (presses > 0)
            ++done;
        else
            ++lost;
        if (presses > 1) ++pressedAgain;
        if (SecondsSince(start) >= samples.back().seconds + sampleEvery) sample(done);
    }
    while (SecondsSince(start) < seconds && app->IsRunning()) {
        Sleep(200);
        if (SecondsSince(start) >= samples.back().seconds + sampleEvery) sample(done);
    }
    sample(done);
    const bool stopped = StopPeriodicCapture(*app);
    const double periodicSeconds = SecondsSince(start);
    // A tick that had begun before Ctrl+S finishes its file.
    Sleep(1500);
    const std::optional<DWORD> exitCode = app->Close(15000);

    if (!samplesPath.empty()) {
        std::ofstream csv{std::filesystem::path(samplesPath)};
        csv << "seconds,cycles,private_bytes,gdi_objects,windows\n";
        for (const Sample& s : samples)
            csv << s.seconds << ',' << s.cycles << ',' << s.stats.privateBytes << ',' << s.stats.gdiObjects << ','
                << s.stats.windows << '\n';
    }

    const PictureSeries series = ReadPictureSeries(pictures.Path());
    const int expected = static_cast<int>(periodicSeconds * 1000 / kPeriodMs);
    Report("capture cycles",
           Format("%.0f of %.0f completed, %.0f needed Cancel pressed again", done, cycles, pressedAgain),
           done == cycles && lost == 0);
    Report(
        "files written",
        Format("%.0f in %.0f s of periodic capture (expected %.0f, within 1)", series.files, periodicSeconds, expected),
        std::abs(series.files - expected) <= 1);
    Report("files decodable",
           Format("%.0f of %.0f decode to the end, %.0f empty, %.0f misnamed", series.decodable, series.files,
                  series.empty, series.unnamed),
           series.files > 0 && series.decodable == series.files && series.empty == 0 && series.unnamed == 0);
    std::string leftovers = series.others.empty() ? "none" : "";
    for (const std::wstring& name : series.others)
        leftovers += Narrow(name) + " ";
    Report("other files", leftovers, series.others.empty());
    Report("gaps in time series",
           Format("%.0f steps over %.0f s (longest step %.0f s)", series.Gaps(kPeriodMs / 1000), kPeriodMs / 1000 + 1,
                  static_cast<double>(series.LongestStep())),
           !series.steps.empty() && series.Gaps(kPeriodMs / 1000) == 0);
    ReportFlat("private bytes", samples, warmUp, "%.1f MB after warm-up, %.1f to %.1f since (%.1f at start)",
               1024.0 * 1024.0, [](const ProcessStats& s) { return static_cast<double>(s.privateBytes); });
    ReportFlat("GDI objects", samples, warmUp, "%.0f after warm-up, %.0f to %.0f since (%.0f at start)", 1,
               [](const ProcessStats& s) { return static_cast<double>(s.gdiObjects); });
    ReportFlat("windows", samples, warmUp, "%.0f after warm-up, %.0f to %.0f since (%.0f at start)", 1,
               [](const ProcessStats& s) { return static_cast<double>(s.windows); });
    Report("program",
           stopped && exitCode ? Format("stopped by Ctrl+S, closed with exit code %.0f", *exitCode)
                               : std::string("did not stop or close"),
           stopped && exitCode == std::optional<DWORD>(0));
    std::printf("RESULT: %s\n", failed ? "FAIL" : "PASS");
    return failed ? 1 : 0;
}

// Shows that the counters see another process's objects: a child copy of
// this program creates 100 brushes and commits 16 MB while the parent counts.
int CheckCounters(const wchar_t* self) {
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (L"SnaporaSoakBrushesReady-" + tag).c_str());
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, (L"SnaporaSoakBrushesGo-" + tag).c_str());
    HANDLE made = CreateEventW(nullptr, TRUE, FALSE, (L"SnaporaSoakBrushesMade-" + tag).c_str());
    std::wstring commandLine = L"\"" + std::wstring(self) + L"\" --hold-brushes " + tag;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION child{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &child)) {
        Report("GDI counter", "cannot start the test program", false);
        return 1;
    }
    // Counted once the child has set itself up and waits for the signal.
    WaitForSingleObject(ready, 10000);
    const std::optional<ProcessStats> before = ReadProcessStats(child.dwProcessId);
    SetEvent(go);
    const bool signalled = WaitForSingleObject(made, 10000) == WAIT_OBJECT_0;
    const std::optional<ProcessStats> after = ReadProcessStats(child.dwProcessId);
    TerminateProcess(child.hProcess, 0);
    WaitForSingleObject(child.hProcess, 5000);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    for (HANDLE event : {ready, go, made})
        CloseHandle(event);
    if (!signalled || !before || !after) {
        Report("counters", "the test program could not be read", false);
        return 1;
    }
    Report("GDI counter",
           Format("%.0f -> %.0f objects as a test program creates 100 brushes", before->gdiObjects, after->gdiObjects),
           after->gdiObjects - before->gdiObjects == 100);
    const double grown = (static_cast<double>(after->privateBytes) - before->privateBytes) / (1024 * 1024);
    Report("memory counter", Format("+%.2f MB private as a test program commits 16 MB", grown),
           grown >= 16 && grown < 16.5);
    return failed ? 1 : 0;
}

int HoldBrushes(const std::wstring& tag) {
    HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, (L"SnaporaSoakBrushesReady-" + tag).c_str());
    HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, (L"SnaporaSoakBrushesGo-" + tag).c_str());
    HANDLE made = OpenEventW(EVENT_MODIFY_STATE, FALSE, (L"SnaporaSoakBrushesMade-" + tag).c_str());
    if (!ready || !go || !made) return 1;
    SetEvent(ready);
    WaitForSingleObject(go, INFINITE);
    std::vector<HBRUSH> brushes;
    for (int i = 0; i < 100; ++i)
        brushes.push_back(CreateSolidBrush(RGB(i, 0, 0)));
    if (!VirtualAlloc(nullptr, 16 << 20, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) return 1;
    SetEvent(made);
    Sleep(INFINITE);
    return 0;
}

int PrintStats(DWORD processId) {
    const std::optional<ProcessStats> stats = ReadProcessStats(processId);
    if (!stats) {
        std::fprintf(stderr, "cannot read process %lu\n", processId);
        return 1;
    }
    std::printf("private_bytes=%llu gdi_objects=%d windows=%d\n", static_cast<unsigned long long>(stats->privateBytes),
                stats->gdiObjects, stats->windows);
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    int minutes = 10, cycles = 500;
    std::wstring samplesPath;
    for (int i = 1; i < argc; ++i) {
        const std::wstring arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == L"--check-counters") return CheckCounters(argv[0]);
        if (arg == L"--hold-brushes" && hasValue) return HoldBrushes(argv[i + 1]);
        if (arg == L"--stats" && hasValue) return PrintStats(std::wcstoul(argv[i + 1], nullptr, 10));
        if (arg == L"--minutes" && hasValue)
            minutes = std::max(1, _wtoi(argv[++i]));
        else if (arg == L"--cycles" && hasValue)
            cycles = std::max(0, _wtoi(argv[++i]));
        else if (arg == L"--samples" && hasValue)
            samplesPath = argv[++i];
        else {
            std::fprintf(stderr, "usage: soak_driver [--minutes M] [--cycles N] [--samples FILE.csv] | "
                                 "--check-counters | --stats PID\n");
            return 2;
        }
    }
    return RunSoak(minutes, cycles, samplesPath);
}
