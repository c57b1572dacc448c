// Snapora's benchmark. It runs on the real display it is started on (tools/
// bench.sh starts it once per display size), shows a desktop-like picture
// over the whole screen so that every grab reads realistic pixels, and prints
// one table: each figure is the median of several runs, beside a reference
// measured in the same run on the same display, their ratio and the target.
//   bench.exe                   the table
//   bench.exe --handshake DIR   the same, and between its own periodic steps,
//                               asks bench.sh to run scrot once on the display
//                               (DIR\request-N) and waits for its time
//                               (DIR\result-N)
//   bench.exe --memory          only the memory rows, marked with a star
//                               (bench.sh runs it with Wine's own allocator
//                               returning freed memory at once)
//   bench.exe --png-sweep       PNG sizes and times over zlib levels,
//                               strategies, filters and strip counts
//   bench.exe --loop NAME [S]   one operation over and over for S seconds
//                               (10 by default), for a profiler (Loop.h)
//   bench.exe --input           only the rows of other programs' input
#include "app/SnaporaApp.h"
#include "bench/Desktop.h"
#include "bench/Loop.h"
#include "bench/Marks.h"
#include "bench/Measure.h"
#include "bench/OtherPrograms.h"
#include "bench/PngSweep.h"
#include "bench/References.h"
#include "capture/FrameGeometry.h"
#include "capture/Grab.h"
#include "capture/PeriodicCapture.h"
#include "tests/support/Input.h"
#include "tests/support/Wait.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "imaging/ImageWriters.h"

#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using bench::Median;
using bench::MedianMs;
using bench::NowMs;
using bench::PumpFor;
using bench::PumpUntil;
using bench::Row;
using support::MoveMouse;
using support::SendKey;
using support::SendMouse;
using support::TypeCaptureKey;

constexpr int kRuns = 9;
// The periodic step varies most with the load of the machine: more rounds,
// each with its references beside it, make its medians steadier.
constexpr int kPeriodicRounds = 21;
constexpr double kMegabyte = 1024.0 * 1024.0;

// What went wrong on the way; the benchmark prints it and fails.
std::vector<std::wstring> g_problems;

void Problem(const std::wstring& text) {
    std::fwprintf(stderr, L"bench: %ls\n", text.c_str());
    g_problems.push_back(text);
}

POINT Centre(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// --- The sections of the table --------------------------------------------

struct Run {
    int width;
    int height;
    std::filesystem::path folder;
    bench::Table& table;
};

void RemoveFiles(const std::filesystem::path& folder) {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ignored))
        std::filesystem::remove(entry.path(), ignored);
}

// Asks bench.sh to run scrot once on the display as it stands (handshake
// folder\request-N) and waits for its time and the size of its file
// (result-N: microseconds, bytes). False when no answer comes.
bool RunScrot(const std::filesystem::path& handshake, int round, double& ms, double& bytes) {
    const std::wstring n = std::to_wstring(round);
    std::ofstream(handshake / (L"request-" + n)) << round << "\n";
    const std::filesystem::path result = handshake / (L"result-" + n);
    if (!PumpUntil([&] { return std::filesystem::exists(result); }, 60000)) return false;
    std::ifstream figures(result);
    double microseconds = 0;
    if (!(figures >> microseconds >> bytes)) return false;
    ms = microseconds / 1000;
    return true;
}

// The floor, one periodic-capture step end to end, and scrot, round after
// round, so that the load of the machine at any moment weighs on all three
// alike; the step against the floor's sum and against scrot.
void PeriodicStep(Run& run, const std::wstring& handshake) {
    bench::FloorGrab floor;
    bench::MemoryJpeg jpeg;
    settings::CaptureOptions options;
    options.IncludeCursor = true;
    options.PeriodicFolder = (run.folder / L"periodic").wstring();
    capture::PeriodicCapture periodic(options, [] { return settings::PeriodicSource::FullScreen; });
    std::vector<double> grabs, encodes, sums, ticks, scrots, compares;
    // Skipping unchanged pictures compares each grab with the last picture
    // written; two grabs of the still desktop are equal, the dearest case,
    // since every row is read to its end.
    ui::Bitmap lastWritten;
    capture::GrabScreen(lastWritten);
    double fileBytes = 0, scrotBytes = 0;
    unsigned long jpegBytes = 0;
    // Periodic capture runs on and on: its steady state is what counts. The
    // first steps allocate the picture, start the helper and make the
    // folder, so two untimed rounds come first.
    for (int round = 0; round < 2; ++round) {
        floor.Grab();
        jpeg.Encode(floor.Picture(), 100, true);
        periodic.Tick();
        RemoveFiles(options.PeriodicFolder);
    }
    for (int round = 1; round <= kPeriodicRounds; ++round) {
        double from = NowMs();
        floor.Grab();
        grabs.push_back(NowMs() - from);
        from = NowMs();
        jpegBytes = jpeg.Encode(floor.Picture(), 100, true);
        encodes.push_back(NowMs() - from);
        sums.push_back(grabs.back() + encodes.back());

        from = NowMs();
        periodic.Tick();
        ticks.push_back(NowMs() - from);
        from = NowMs();
        if (!ui::PixelsEqual(floor.Picture(), lastWritten)) Problem(L"two grabs of the still desktop differ");
        compares.push_back(NowMs() - from);
        for (const auto& entry : std::filesystem::directory_iterator(options.PeriodicFolder))
            fileBytes = static_cast<double>(entry.file_size());
        // Each tick starts from the folder as a user's would be.
        RemoveFiles(options.PeriodicFolder);

        double ms = 0;
        if (!handshake.empty()) {
            if (!RunScrot(handshake, round, ms, scrotBytes)) {
                Problem(L"no scrot figure came");
                break;
            }
            scrots.push_back(ms);
        }
    }
    if (!handshake.empty()) std::ofstream(std::filesystem::path(handshake) / L"finished") << "finished\n";
    run.table.Add({"floor: screen BitBlt into a kept DIB", Median(grabs), "ms"});
    run.table.Add({"floor: libjpeg-turbo q100 of it in memory", Median(encodes), "ms"});
    const double tick = Median(ticks);
    run.table.Add(
        {"periodic step (grab, cursor, JPEG, write)", tick, "ms", "floor sum (BitBlt + JPEG)", Median(sums), 1.15});
    if (!scrots.empty()) {
        run.table.Add({"periodic step (grab, cursor, JPEG, write)", tick, "ms", "scrot -q 100, whole process",
                       Median(scrots), 1.0});
        run.table.Add({"periodic step file", fileBytes, "bytes", "scrot -q 100 file", scrotBytes});
    }
    run.table.Add({"floor JPEG (same frame)", static_cast<double>(jpegBytes), "bytes"});
    run.table.Add(
        {"skip unchanged: compare with the last picture", Median(compares), "ms", "periodic step", tick, 0.15});
}

// The program's own objects, as the application object creates and wires
// them: the capture key through the real hook, the highlight frame, the
// picture window's zoom, and the memory a capture holds.
class Interactive {
public:
    explicit Interactive(Run& run) : run_(run) {
        ui::App().MessageHandler = [](const std::wstring& text, UINT) {
            Problem(L"message box: " + text);
            return IDOK;
        };
        ui::App().ErrorHandler = [](const std::wstring& text) { Problem(L"error box: " + text); };
        snapora_ = std::make_unique<app::SnaporaApp>();
        PumpFor(500);
    }
    ~Interactive() {
        snapora_->Trigger().Disarm();
        snapora_->Trigger().EndTracking();
        snapora_.reset();
        ui::App().MessageHandler = nullptr;
        ui::App().ErrorHandler = nullptr;
    }

    void KeyToGrab();
    // Ctrl+4 and Ctrl+1 typed as a user types them, until the region screen
    // or the picture window they open is on the screen and painted.
    void HotKeyToWindow();
    // Private bytes above idle with a Full Screen capture shown, after it
    // closes, and after many more captures; mark tells the rows apart.
    void Memory(const std::string& mark);
    void FrameLag();
    void Zoom();

private:
    // One Full Screen capture by the capture key, until the picture window
    // shows it; gives the time from the key to the end of the grab.
    double CaptureFullScreen();
    void ClosePictureWindow();
    // Waits until the highlight frame stands at bounds and its ring shows on
    // the screen at ringPoint; the time from `from`, or a negative number.
    double WaitForFrame(const RECT& bounds, POINT ringPoint, double from);

    Run& run_;
    std::unique_ptr<app::SnaporaApp> snapora_;
};

double Interactive::CaptureFullScreen() {
    picture::PictureWindow& pictureWindow = snapora_->PictureWindow();
    double grabbedAt = 0;
    snapora_->Trigger().ScreenGrabbed = [&] { grabbedAt = NowMs(); };
    const double from = NowMs();
    TypeCaptureKey();
    const bool grabbed = PumpUntil([&] { return grabbedAt > 0; });
    snapora_->Trigger().ScreenGrabbed = nullptr;
    if (!grabbed || !PumpUntil([&] { return IsWindowVisible(pictureWindow.Handle()) != FALSE; })) {
        Problem(L"the capture key gave no Full Screen capture");
        return -1;
    }
    UpdateWindow(pictureWindow.Handle());
    return grabbedAt - from;
}

void Interactive::ClosePictureWindow() {
    HWND window = snapora_->PictureWindow().Handle();
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (!PumpUntil([&] { return !IsWindowVisible(window); })) Problem(L"the picture window did not close");
    // The trigger is armed again; Wine settles the keyboard state meanwhile.
    PumpFor(100);
}

void Interactive::KeyToGrab() {
    snapora_->Options().IncludeCursor = true;
    snapora_->OnMethodChosen(capture::CaptureMethod::FullScreen);
    PumpFor(200);
    std::vector<double> keyToGrab, grabOnly;
    for (int i = 0; i < kRuns; ++i) {
        const double ms = CaptureFullScreen();
        if (ms < 0) return;
        keyToGrab.push_back(ms);
        ClosePictureWindow();
        // The grab alone, into a new picture as a capture makes it: what of
        // the way from the key is the platform's own reading of the screen.
        grabOnly.push_back(MedianMs(1, [] {
            ui::Bitmap screen;
            capture::GrabScreen(screen);
        }));
    }
    run_.table.Add({"key to grab, Full Screen", Median(keyToGrab), "ms", "target 50 ms", 50, 1.0});
    run_.table.Add(
        {"key to grab, Full Screen", Median(keyToGrab), "ms", "the grab alone, new picture", Median(grabOnly)});
}

namespace {

// The time from a global hotkey, Ctrl with key, typed as a hand types it,
// until the window is shown and everything in it that waits to be painted
// has been painted; a negative number when it does not show.
double HotKeyUntilPainted(WORD key, HWND window) {
    const double from = NowMs();
    SendKey(VK_CONTROL, false), SendKey(key, false), SendKey(key, true), SendKey(VK_CONTROL, true);
    if (!PumpUntil([&] { return IsWindowVisible(window) != FALSE; })) return -1;
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    GdiFlush();
    return NowMs() - from;
}

} // namespace

void Interactive::HotKeyToWindow() {
    snapora_->Options().IncludeCursor = true;
    std::vector<double> toRegion, toPicture;
    for (int i = 0; i < kRuns; ++i) {
        const double region = HotKeyUntilPainted('4', snapora_->RegionScreen().Handle());
        // Nothing selected: the screen goes, and the trigger waits again.
        snapora_->RegionScreen().Hide();
        snapora_->Trigger().Arm();
        PumpFor(100);
        const double picture = HotKeyUntilPainted('1', snapora_->PictureWindow().Handle());
        if (region < 0 || picture < 0) {
            Problem(L"Ctrl+4 or Ctrl+1 opened no window");
            return;
        }
        toRegion.push_back(region);
        toPicture.push_back(picture);
        ClosePictureWindow();
    }
    const bool large = run_.width * run_.height > 1920 * 1080;
    const double target = large ? 200 : 100;
    const std::string targetText = large ? "target 200 ms" : "target 100 ms";
    run_.table.Add({"Ctrl+4 to the region screen, painted", Median(toRegion), "ms", targetText, target, 1.0});
    run_.table.Add({"Ctrl+1 to the picture window, painted", Median(toPicture), "ms", targetText, target, 1.0});
}

void Interactive::Memory(const std::string& mark) {
    const double frame = 4.0 * run_.width * run_.height;
    snapora_->OnMethodChosen(capture::CaptureMethod::FullScreen);
    PumpFor(300);
    const double idle = bench::PrivateBytes();
    if (CaptureFullScreen() < 0) return;
    PumpFor(300);
    const double shown = bench::PrivateBytes();
    ClosePictureWindow();
    PumpFor(300);
    const double closed = bench::PrivateBytes();
    // The same cycle many times over: what stays behind must not grow.
    const int cycles = 50;
    for (int i = 0; i < cycles; ++i) {
        if (CaptureFullScreen() < 0) return;
        ClosePictureWindow();
    }
    PumpFor(300);
    const double afterCycles = bench::PrivateBytes();

    char frameText[64];
    std::snprintf(frameText, sizeof(frameText), "one frame (%dx%dx4)", run_.width, run_.height);
    run_.table.Add({"memory" + mark + ": private bytes, idle", idle / kMegabyte, "MB"});
    run_.table.Add({"memory" + mark + ": Full Screen capture shown", (shown - idle) / kMegabyte, "MB", frameText,
                    frame / kMegabyte, 4});
    run_.table.Add(
        {"memory" + mark + ": after it closes", (closed - idle) / kMegabyte, "MB", frameText, frame / kMegabyte, 0.5});
    run_.table.Add({"memory" + mark + ": after 50 more capture cycles", (afterCycles - idle) / kMegabyte, "MB",
                    frameText, frame / kMegabyte, 0.5});
}

double Interactive::WaitForFrame(const RECT& bounds, POINT ringPoint, double from) {
    HWND frame = snapora_->HighlightFrame().Handle();
    HDC screen = GetDC(nullptr);
    double placedAt = 0;
    const bool shown = PumpUntil([&] {
        RECT r{};
        if (placedAt == 0) {
            if (!IsWindowVisible(frame) || !GetWindowRect(frame, &r) || !EqualRect(&r, &bounds)) return false;
            placedAt = NowMs();
        }
        return GetPixel(screen, ringPoint.x, ringPoint.y) == RGB(0xFA, 0x0C, 0xFA);
    });
    ReleaseDC(nullptr, screen);
    return shown ? NowMs() - from : -1;
}

void Interactive::FrameLag() {
    const int w = run_.width, h = run_.height;
    const RECT a{w / 8, h / 4, w / 8 + w / 4, h / 4 + h / 2};
    const RECT b{w * 5 / 8, h / 4, w * 5 / 8 + w / 4, h / 4 + h / 2};
    HWND windows[] = {bench::CreateTargetWindow(a, RGB(235, 235, 235)),
                      bench::CreateTargetWindow(b, RGB(200, 220, 240))};
    app::SnaporaApp& main = *snapora_;
    capture::CaptureTrigger& trigger = snapora_->Trigger();

    // Object: the frame jumps from one window to the other.
    main.OnMethodChosen(capture::CaptureMethod::Object);
    MoveMouse(Centre(a));
    PumpFor(200);
    TypeCaptureKey();
    auto objectRing = [](const RECT& r) { return POINT{r.left - 2, (r.top + r.bottom) / 2}; };
    std::vector<double> objectLag;
    if (WaitForFrame(capture::ObjectFrame(a).bounds, objectRing(a), NowMs()) < 0) {
        Problem(L"Object tracking did not start");
    } else {
        for (int i = 0; i < 15; ++i) {
            const RECT& target = i % 2 == 0 ? b : a;
            const double from = NowMs();
            SendMouse(MOUSEEVENTF_MOVE, Centre(target));
            const double lag = WaitForFrame(capture::ObjectFrame(target).bounds, objectRing(target), from);
            if (lag < 0) {
                Problem(L"the Object frame did not follow the mouse");
                break;
            }
            objectLag.push_back(lag);
            PumpFor(60);
        }
    }
    trigger.Arm();
    run_.table.Add({"highlight frame lag, Object (on screen)", Median(objectLag), "ms", "target 50 ms", 50, 1.0});

    // Fixed Region: the box is centred on the mouse wherever it goes.
    const int boxW = 320, boxH = 240;
    main.Options().FixedRegionWidth = boxW;
    main.Options().FixedRegionHeight = boxH;
    main.OnMethodChosen(capture::CaptureMethod::FixedRegion);
    const POINT points[] = {{w / 3, h / 2}, {w * 2 / 3, h / 2 + 37}};
    MoveMouse(points[1]);
    PumpFor(200);
    TypeCaptureKey();
    auto fixedRing = [&](POINT p) { return POINT{p.x - boxW / 2 + 3, p.y}; };
    std::vector<double> fixedLag;
    if (WaitForFrame(capture::FixedRegionFrame(points[1], boxW, boxH).bounds, fixedRing(points[1]), NowMs()) < 0) {
        Problem(L"Fixed Region tracking did not start");
    } else {
        for (int i = 0; i < 15; ++i) {
            const POINT p = points[i % 2];
            const double from = NowMs();
            SendMouse(MOUSEEVENTF_MOVE, p);
            const double lag = WaitForFrame(capture::FixedRegionFrame(p, boxW, boxH).bounds, fixedRing(p), from);
            if (lag < 0) {
                Problem(L"the Fixed Region frame did not follow the mouse");
                break;
            }
            fixedLag.push_back(lag);
            PumpFor(60);
        }
    }
    trigger.Arm();
    run_.table.Add({"highlight frame lag, Fixed Region (on screen)", Median(fixedLag), "ms", "target 50 ms", 50, 1.0});
    for (HWND window : windows)
        DestroyWindow(window);
    PumpFor(100);
}

void Interactive::Zoom() {
    const ui::Bitmap large = bench::DesktopContent(3840, 2160);
    picture::PictureWindow& pictureWindow = snapora_->PictureWindow();
    pictureWindow.LoadPicture(large);
    pictureWindow.Present();
    PumpFor(500);
    std::vector<double> zoomIn, original;
    for (int i = 0; i < kRuns; ++i) {
        double from = NowMs();
        pictureWindow.OnZoomIn();
        UpdateWindow(pictureWindow.Handle());
        GdiFlush();
        zoomIn.push_back(NowMs() - from);
        PumpFor(50);
        from = NowMs();
        pictureWindow.OnOriginalSize();
        UpdateWindow(pictureWindow.Handle());
        GdiFlush();
        original.push_back(NowMs() - from);
        PumpFor(50);
    }
    run_.table.Add({"zoom: Zoom In on 3840x2160, painted", Median(zoomIn), "ms", "target 60 ms", 60, 1.0});
    run_.table.Add({"zoom: Original on 3840x2160, painted", Median(original), "ms", "target 60 ms", 60, 1.0});
    bench::MeasureMarks(pictureWindow, run_.table, kRuns);
    ClosePictureWindow();
}

// The median times of two operations run in turn, so that the load of the
// machine at any moment weighs on both alike.
std::pair<double, double> MediansInTurn(int runs, const std::function<void()>& first,
                                        const std::function<void()>& second) {
    std::vector<double> a, b;
    for (int i = 0; i < runs; ++i) {
        a.push_back(MedianMs(1, first));
        b.push_back(MedianMs(1, second));
    }
    return {Median(a), Median(b)};
}

// Saving a 1920x1080 screenshot in each format, beside the libraries used
// the plainest way. Each save writes over the file of the one before, as a
// user saving again under the same name.
void SavePictures(Run& run) {
    const ui::Bitmap content = bench::DesktopContent(1920, 1080);
    const std::wstring ours = (run.folder / L"save.png").wstring(), reference = (run.folder / L"libpng.png").wstring();
    const auto [png, libpng] = MediansInTurn(
        kRuns, [&] { imaging::WritePng(content, ours); }, [&] { bench::WritePngLibpngDefaults(content, reference); });
    run.table.Add({"PNG save 1920x1080: time", png, "ms", "libpng defaults", libpng, 0.20});
    run.table.Add({"PNG save 1920x1080: file", static_cast<double>(bench::FileBytes(ours)), "bytes", "libpng defaults",
                   static_cast<double>(bench::FileBytes(reference)), 1.10});

    const std::wstring jpeg = (run.folder / L"save.jpg").wstring();
    bench::MemoryJpeg memoryJpeg;
    const auto [jpegSave, jpegMemory] = MediansInTurn(
        kRuns, [&] { imaging::WriteJpeg(content, jpeg, imaging::kSaveJpeg); },
        [&] { memoryJpeg.Encode(content, 95, false); });
    run.table.Add({"JPEG save 1920x1080 (q95, 4:4:4)", jpegSave, "ms", "libjpeg-turbo same, in memory", jpegMemory});

    const std::wstring bmp = (run.folder / L"save.bmp").wstring(), plain = (run.folder / L"plain.bin").wstring();
    imaging::WriteBmp(content, bmp);
    const long long bmpBytes = bench::FileBytes(bmp);
    const auto [bmpSave, plainWrite] = MediansInTurn(
        kRuns, [&] { imaging::WriteBmp(content, bmp); }, [&] { bench::WriteZeroFile(plain, bmpBytes); });
    run.table.Add({"BMP save 1920x1080 (24-bit)", bmpSave, "ms", "same bytes, plain write", plainWrite});
}

std::filesystem::path BenchFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    auto folder = std::filesystem::path(base) / (L"snapora-bench-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    return folder;
}

int Table(const std::wstring& handshake, bool memoryOnly) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    char display[32];
    std::snprintf(display, sizeof(display), "%dx%d", w, h);
    bench::Table table(display);
    Run run{w, h, BenchFolder(), table};

    const ui::Bitmap content = bench::DesktopContent(w, h);
    bench::DesktopWindow desktop(content);
    if (!desktop.WaitUntilShown()) Problem(L"the desktop picture did not reach the screen");
    if (memoryOnly) {
        {
            Interactive interactive(run);
            interactive.Memory("*");
        }
        // The real program beside a bare one, once the in-process one has
        // let go of the hotkeys.
        desktop.SetTopmost(false);
        try {
            bench::MeasureResidentMemory(table, "*");
        } catch (const ui::Error& error) {
            Problem(error.Message());
        }
    } else {
        PeriodicStep(run, handshake);
        {
            Interactive interactive(run);
            // Idle first, before any capture has left the platform's own
            // caches behind.
            interactive.Memory("");
            interactive.KeyToGrab();
            interactive.HotKeyToWindow();
            // From here on the desktop is an ordinary window beneath the
            // program's own and the windows that the frame stands around.
            desktop.SetTopmost(false);
            interactive.FrameLag();
            interactive.Zoom();
        }
        // Periodic capture of the whole display, with steps close enough to
        // catch keys and moves in the middle of one.
        try {
            bench::MeasureInputToOtherPrograms(table, run.folder / L"periodic-input", 250);
        } catch (const ui::Error& error) {
            Problem(error.Message());
        }
        SavePictures(run);
    }
    table.Print(!memoryOnly);

    std::error_code ignored;
    std::filesystem::remove_all(run.folder, ignored);
    return g_problems.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    // Physical pixels, as the program itself (its manifest says so).
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // The windows live on this thread: waits for the input handle their messages.
    support::SetMessagePump([] { ui::App().ProcessMessages(); });
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (!args.empty() && args[0] == "--png-sweep") {
            bench::PngSweep(BenchFolder());
            return 0;
        }
        if (!args.empty() && args[0] == "--loop") {
            const double seconds = args.size() >= 3 ? std::stod(args[2]) : 10;
            return args.size() >= 2 && bench::Loop(args[1], seconds) ? 0 : 2;
        }
        if (!args.empty() && args[0] == "--memory") return Table(L"", true);
        if (!args.empty() && args[0] == "--input") {
            bench::Table table("display");
            bench::MeasureInputToOtherPrograms(table, BenchFolder() / L"periodic-input", 250);
            table.Print(true);
            return 0;
        }
        std::wstring handshake;
        if (args.size() >= 2 && args[0] == "--handshake") handshake.assign(args[1].begin(), args[1].end());
        return Table(handshake, false);
    } catch (const ui::Error& error) {
        std::fwprintf(stderr, L"bench: %ls\n", error.Message().c_str());
        return 1;
    }
}
