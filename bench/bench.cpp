// Times the screen grab, the crops and each picture writer on desktop-like
// content (text, flat areas, a photo region) at 1280x1024, 1920x1080 and
// 3840x2160, and prints one table: operation, desktop size, median time over
// several runs, output size. The grab itself is limited to the real display.
//   bench.exe              the table
//   bench.exe --png-sweep  PNG sizes and times over zlib levels, strategies
//                          and filters on 1920x1080 content (how the PNG
//                          writer's defaults were chosen)
#include "capture/Grab.h"
#include "capture/PeriodicCapture.h"
#include "region/RegionScreen.h"
#include "ui/Error.h"
#include "ui/ImageWriters.h"

#include <windows.h>
#include <psapi.h>

#include <png.h>
#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// A desktop: a grey background, white windows with title bars and lines of
// text, a flat toolbar, and a photo-like region of smooth shading with grain.
ui::Bitmap DesktopContent(int width, int height) {
    ui::Bitmap picture(width, height, 32);
    HDC dc = picture.Canvas();
    auto fill = [&](int l, int t, int r, int b, COLORREF c) {
        HBRUSH brush = CreateSolidBrush(c);
        RECT rc{l, t, r, b};
        FillRect(dc, &rc, brush);
        DeleteObject(brush);
    };
    fill(0, 0, width, height, RGB(58, 110, 165));
    fill(0, height - 40, width, height, RGB(32, 32, 40)); // taskbar

    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, ANTIALIASED_QUALITY, 0,
                             L"Liberation Sans");
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    const wchar_t* words[] = {L"void GetFullScreenBmp(ui::Bitmap& bitmap) {", L"The quick brown fox jumps over",
                              L"Cannot create file \"C:\\shots\\2008-03-05 14_07_09.jpg\".",
                              L"0123456789 ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz",
                              L"    return std::make_unique<JpegError>(); // why, not what"};
    // Two text windows side by side: an editor and a document.
    const int windowWidth = width * 45 / 100;
    for (int w = 0; w < 2; ++w) {
        const int l = 20 + w * (windowWidth + 20), t = 20, r = l + windowWidth, b = height - 60;
        fill(l, t, r, t + 30, w ? RGB(240, 240, 240) : RGB(0, 120, 215));
        fill(l, t + 30, r, b, RGB(255, 255, 255));
        SetTextColor(dc, w ? RGB(0, 0, 0) : RGB(255, 255, 255));
        TextOutW(dc, l + 8, t + 7, L"Snapora - benchmark window", 26);
        int line = 0;
        // The lower half of the second window is left for the photo.
        const int textBottom = w ? t + (b - t) / 2 : b;
        for (int y = t + 40; y + 16 < textBottom; y += 17, ++line) {
            SetTextColor(dc, line % 7 == 3 ? RGB(160, 30, 30) : RGB(20, 20, 20));
            const wchar_t* text = words[line % 5];
            TextOutW(dc, l + 10 + (line % 4) * 12, y, text, static_cast<int>(wcslen(text)));
        }
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
    GdiFlush();

    // The photo: smooth shading with grain, in the second window's lower half.
    const int pl = 40 + windowWidth + 10, pt = 20 + (height - 80) / 2 + 10;
    const int pr = std::min(width - 10, pl + windowWidth - 20), pb = height - 70;
    std::uint32_t seed = 1;
    for (int y = pt; y < pb; ++y)
        for (int x = pl; x < pr; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int grain = static_cast<int>((seed >> 24) % 13) - 6;
            auto channel = [&](double phase) {
                const double v = 128 + 90 * std::sin(x * 0.011 + phase) * std::cos(y * 0.017 - phase);
                return static_cast<std::uint32_t>(std::clamp(static_cast<int>(v) + grain, 0, 255));
            };
            picture.SetPixel(x, y, (channel(0.0) << 16) | (channel(1.3) << 8) | channel(2.6));
        }
    return picture;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double MedianMs(int runs, const std::function<void()>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        LARGE_INTEGER from, to;
        QueryPerformanceCounter(&from);
        operation();
        QueryPerformanceCounter(&to);
        times.push_back(Milliseconds(from, to));
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

long long FileBytes(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Row(const char* operation, int width, int height, double ms, long long bytes) {
    char size[32];
    std::snprintf(size, sizeof(size), "%dx%d", width, height);
    if (bytes >= 0)
        std::printf("%-34s %-10s %9.2f %12lld\n", operation, size, ms, bytes);
    else
        std::printf("%-34s %-10s %9.2f %12s\n", operation, size, ms, "-");
}

std::filesystem::path BenchFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    auto folder = std::filesystem::path(base) / (L"snapora-bench-" + std::to_wstring(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    return folder;
}

// The region screen while the user drags: each move XOR-draws two outlines
// into the frozen picture, moves the size panel and repaints what changed.
void RubberBand(const ui::Bitmap& screen) {
    region::RegionScreen display;
    display.ShowFrozen(screen);
    SetCursorPos(100, 100);
    display.OnSelectionStart();
    int step = 0;
    const auto move = [&](int spanX, int spanY) {
        ++step;
        SetCursorPos(100 + spanX + step % 7, 100 + spanY + step % 5);
        display.OnSelectionDrag();
        UpdateWindow(display.Handle());
    };
    Row("rubber-band move, 200x150 drag", screen.Width(), screen.Height(), MedianMs(31, [&] { move(200, 150); }), -1);
    Row("rubber-band move, 1000x800 drag", screen.Width(), screen.Height(), MedianMs(31, [&] { move(1000, 800); }), -1);
    ShowWindow(display.Handle(), SW_HIDE);
}

void Table(const std::filesystem::path& folder) {
    const int runs = 7;
    std::printf("%-34s %-10s %9s %12s\n", "operation", "desktop", "median ms", "bytes");

    ui::Bitmap screen;
    const double grab = MedianMs(runs, [&] { capture::GetFullScreenBmp(screen); });
    Row("grab (GetFullScreenBmp)", screen.Width(), screen.Height(), grab, -1);
    ui::Bitmap withCursor;
    withCursor.Assign(screen);
    Row("DrawCursorToBmp", screen.Width(), screen.Height(),
        MedianMs(runs, [&] { capture::DrawCursorToBmp(withCursor); }), -1);
    // One periodic-capture tick end to end: the grab into the picture it
    // keeps, JPEG at quality 100, a new time-stamped file.
    settings::CaptureOptions periodicOptions;
    periodicOptions.RealSavePath = (folder / L"periodic").wstring();
    capture::PeriodicCapture periodic(periodicOptions, [] { return 0; });
    Row("periodic capture tick", screen.Width(), screen.Height(), MedianMs(runs, [&] { periodic.Tick(); }), -1);
    RubberBand(screen);

    // A window of two thirds of the desktop for the window crop; it need not
    // be shown, GetWindowRect answers all the same.
    for (const SIZE desktop : {SIZE{1280, 1024}, SIZE{1920, 1080}, SIZE{3840, 2160}}) {
        const int w = desktop.cx, h = desktop.cy;
        const ui::Bitmap content = DesktopContent(w, h);
        HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, w / 6, h / 6, w * 2 / 3, h * 2 / 3, nullptr, nullptr,
                                      nullptr, nullptr);
        ui::Bitmap crop;
        char label[64];
        std::snprintf(label, sizeof(label), "window crop %ldx%ld", w * 2L / 3, h * 2L / 3);
        Row(label, w, h, MedianMs(runs, [&] { capture::GetWindowBmp(content, crop, window); }), -1);
        DestroyWindow(window);
        Row("fixed region 320x240", w, h,
            MedianMs(runs,
                     [&] {
                         capture::GetFixRegionBmp(content, crop, 320, 240, {w / 2, h / 2});
                     }),
            -1);
        Row("fixed region 800x600", w, h,
            MedianMs(runs,
                     [&] {
                         capture::GetFixRegionBmp(content, crop, 800, 600, {w / 4, h / 4});
                     }),
            -1);

        const std::wstring stem = (folder / (L"content-" + std::to_wstring(w))).wstring();
        const std::wstring jpegReal = stem + L"-real.jpg", jpegSave = stem + L"-save.jpg";
        const std::wstring png = stem + L".png", bmp = stem + L".bmp";
        // The time first, then the size of what the last run wrote.
        auto timeWrite = [&](const char* operation, const std::wstring& path, const std::function<void()>& write) {
            const double ms = MedianMs(runs, write);
            Row(operation, w, h, ms, FileBytes(path));
        };
        timeWrite("JPEG real-time (q100, 4:2:0)", jpegReal,
                  [&] { ui::WriteJpeg(content, jpegReal, ui::kRealTimeJpeg); });
        timeWrite("JPEG save (q95, 4:4:4)", jpegSave, [&] { ui::WriteJpeg(content, jpegSave, ui::kSaveJpeg); });
        timeWrite("PNG (level 3, Sub filter)", png, [&] { ui::WritePng(content, png); });
        timeWrite("BMP 24-bit", bmp, [&] { ui::WriteBmp(content, bmp); });
    }
}

void PngSweep(const std::filesystem::path& folder) {
    const ui::Bitmap content = DesktopContent(1920, 1080);
    const std::wstring path = (folder / L"sweep.png").wstring();
    struct Filter {
        const char* name;
        int bits;
    };
    const Filter filters[] = {{"none", PNG_FILTER_NONE},
                              {"sub", PNG_FILTER_SUB},
                              {"up", PNG_FILTER_UP},
                              {"paeth", PNG_FILTER_PAETH},
                              {"all", PNG_ALL_FILTERS}};
    struct Strategy {
        const char* name;
        int value;
    };
    const Strategy strategies[] = {{"default", Z_DEFAULT_STRATEGY}, {"filtered", Z_FILTERED}, {"rle", Z_RLE}};
    std::printf("%-6s %-9s %-6s %9s %10s\n", "level", "strategy", "filter", "median ms", "bytes");
    for (int level : {1, 2, 3, 4, 6, 9})
        for (const Strategy& strategy : strategies)
            for (const Filter& filter : filters) {
                const ui::PngOptions options{level, strategy.value, filter.bits};
                const double ms = MedianMs(3, [&] { ui::WritePng(content, path, options); });
                std::printf("%-6d %-9s %-6s %9.2f %10lld\n", level, strategy.name, filter.name, ms, FileBytes(path));
            }
}

} // namespace

int main(int argc, char** argv) {
    // Physical pixels, as the program itself (its manifest says so).
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const std::filesystem::path folder = BenchFolder();
    try {
        if (argc > 1 && std::string(argv[1]) == "--png-sweep")
            PngSweep(folder);
        else
            Table(folder);
    } catch (const ui::Error& error) {
        std::fwprintf(stderr, L"%ls\n", error.Message().c_str());
        return 1;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    PROCESS_MEMORY_COUNTERS memory{sizeof(memory)};
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    std::printf("peak working set %.1f MB, peak private bytes %.1f MB\n", memory.PeakWorkingSetSize / 1048576.0,
                memory.PeakPagefileUsage / 1048576.0);
    return 0;
}
