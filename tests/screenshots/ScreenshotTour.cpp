// The tour behind tools/screenshots.sh: starts Snapora, reaches each window
// the way a user does and saves what the screen shows of it, cut to the
// window, as a binary PPM picture that the script turns into docs/*.png.
//   screenshot_tour.exe <output folder>
// Exits with 1, naming the window, when one of them does not appear.
#include "app/MainWindow.h"
#include "picture/MarkMetrics.h"
#include "picture/PictureWindow.h"
#include "region/RegionScreen.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "suspend/SuspendPanel.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace support;

constexpr DWORD kWaitMs = 15000;

// Where the mouse rests while a picture is taken: away from every window's
// buttons, so that none is drawn hot.
constexpr POINT kMouseRest{1260, 60};

// The display's DPI: the windows' layout, given here at 96, grows with it.
int displayDpi = 96;

POINT ClientPoint(HWND window, int x, int y) {
    return support::ScreenPoint(window, {MulDiv(x, displayDpi, 96), MulDiv(y, displayDpi, 96)});
}

// The screen as it is, to tell afterwards when a window has painted.
Picture WholeScreen() { return GrabScreen({0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}); }

void WritePicture(const Picture& picture, const std::wstring& folder, const wchar_t* name);

// Saves the screen inside the window's frame once the window has painted
// there: what the screen showed before it appeared has changed, and has
// stopped changing. Being visible, even maximized, says nothing yet about paint.
void SaveWindow(HWND window, const Picture& before, const std::wstring& folder, const wchar_t* name) {
    MoveMouse(kMouseRest);
    RECT r = support::WindowRectOf(window);
    // A maximized window's frame reaches past the screen's edges and under the taskbar.
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    IntersectRect(&r, &r, &workArea);
    std::vector<std::uint32_t> underneath;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            underneath.push_back(before.At(x, y));
    Picture picture = GrabScreen(r);
    int unchanged = 0;
    const bool painted = WaitUntil(
        [&] {
            const Picture again = GrabScreen(r);
            unchanged = again.pixels == picture.pixels && again.pixels != underneath ? unchanged + 1 : 0;
            picture = again;
            return unchanged == 2;
        },
        kWaitMs, 300);
    if (!painted) throw std::runtime_error("the window for " + std::filesystem::path(name).string() + " did not paint");
    WritePicture(picture, folder, name);
}

void WritePicture(const Picture& picture, const std::wstring& folder, const wchar_t* name) {
    std::ofstream out(std::filesystem::path(folder) / (std::wstring(name) + L".ppm"), std::ios::binary);
    out << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    for (const std::uint32_t pixel : picture.pixels) {
        const char rgb[] = {static_cast<char>(pixel >> 16), static_cast<char>(pixel >> 8), static_cast<char>(pixel)};
        out.write(rgb, sizeof rgb);
    }
    if (!out) throw std::runtime_error("cannot write the picture of the window");
}

// Opens the tool strip of the picture window, which shows a full-screen
// capture, and marks the picture: a box around the other program's button,
// an arrow to it with a note, a redaction and a highlighter stroke.
void MarkPicture(HWND picture, HWND main) {
    using M = picture::MarkMetrics;
    const int stripTop = picture::PictureToolbar::kHeight;
    Click(ClientPoint(picture, 688 + 36, 8 + 30));
    Sleep(500);
    // A picture pixel of the capture, which is the screen's own.
    const auto at = [&](int x, int y) { return ClientPoint(picture, 1 + x, stripTop + 1 + M::kStripHeight + y); };
    const auto tool = [&](int index) {
        const POINT button = ClientPoint(picture, M::kGap + index * (M::kToolWidth + M::kGap) + M::kToolWidth / 2,
                                         stripTop + M::kStripHeight / 2);
        MoveMouse(button);
        Click(button);
    };
    tool(1);
    Drag(at(92, 732), at(236, 792));
    tool(0);
    Drag(at(420, 660), at(250, 755));
    tool(3);
    Click(at(428, 622));
    PressKeys({VK_SHIFT, 'P'});
    for (const WORD key : std::initializer_list<WORD>{'R', 'E', 'S', 'S', VK_SPACE, 'T', 'H', 'I', 'S'})
        PressKeys({key});
    PressKeys({VK_RETURN});
    // On the main window: the name in its footer redacted, a row of its
    // hotkeys highlighted; the highlighter stays chosen, its palette shown.
    RECT r = support::WindowRectOf(main);
    tool(4);
    Drag(at(r.left + 26, r.top + 448), at(r.left + 124, r.top + 468));
    tool(2);
    Drag(at(r.left + 266, r.top + 397), at(r.left + 372, r.top + 397));
}

HWND Expect(HWND window, const char* what) {
    if (!window) throw std::runtime_error(std::string(what) + " did not appear");
    return window;
}

void Tour(const std::wstring& folder) {
    const Picture desktop = WholeScreen();
    RunningSnapora app;
    const HWND main = Expect(app.WaitForWindow(app::kMainWindowClass, L"Snapora", kWaitMs), "the main window");
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
    SaveWindow(main, desktop, folder, L"main-window");

    // The picture window, with a full-screen capture of a desktop that holds
    // the main window and another program's window.
    {
        TargetProgram other({60, 680, 380, 900});
        const Picture before = WholeScreen();
        PressKeys({VK_CONTROL, '1'});
        HWND picture = nullptr;
        WaitUntil(
            [&] {
                picture = app.FindWindowOf(picture::kPictureWindowClass, nullptr, false);
                return picture && IsZoomed(picture);
            },
            kWaitMs);
        SaveWindow(Expect(picture, "the picture window"), before, folder, L"picture-window");
        const Picture unmarked = WholeScreen();
        MarkPicture(picture, main);
        SaveWindow(picture, unmarked, folder, L"picture-marks");
        PostMessageW(picture, WM_CLOSE, 0, 0);
        WaitUntil([&] { return !IsWindowVisible(picture); }, kWaitMs);
    }

    // "Options" and "Suspend" on the main window's header.
    WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
    Picture before = WholeScreen();
    Click(ClientPoint(main, 88 + 36, 40 + 30));
    const HWND options =
        Expect(app.WaitForWindow(settings::kOptionsWindowClass, nullptr, kWaitMs), "the Options window");
    SaveWindow(options, before, folder, L"options-window");
    // "More…" in the Options window's corner right of Reset.
    before = WholeScreen();
    Click(ClientPoint(options, 352 + 32, 478 + 11));
    const HWND more =
        Expect(app.WaitForWindow(settings::kMoreOptionsWindowClass, nullptr, kWaitMs), "the More Options window");
    SaveWindow(more, before, folder, L"more-options-window");
    PostMessageW(more, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(more); }, kWaitMs);
    PostMessageW(options, WM_CLOSE, 0, 0);
    WaitUntil([&] { return !IsWindowVisible(options); }, kWaitMs);

    before = WholeScreen();
    Click(ClientPoint(main, 160 + 36, 40 + 30));
    const HWND suspend = Expect(app.WaitForWindow(suspend::kSuspendPanelClass, nullptr, kWaitMs), "the suspend panel");
    SaveWindow(suspend, before, folder, L"suspend-panel");
}

// On the desk of tools/two-monitors.sh: the region screen over both
// monitors, a selection being dragged across the boundary.
void TwoMonitorTour(const std::wstring& folder) {
    const RECT desk{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN),
                    GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                    GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    if (GetSystemMetrics(SM_CMONITORS) < 2) throw std::runtime_error("the second monitor");
    RunningSnapora app;
    Expect(app.WaitForWindow(app::kMainWindowClass, L"Snapora", kWaitMs), "the main window");
    TargetProgram left({-900, 120, -420, 460});
    TargetProgram right({700, 560, 1180, 860});
    MoveMouse({-760, 240});
    PressKeys({VK_CONTROL, 'D'});
    const HWND screen = Expect(app.WaitForWindow(region::kRegionScreenClass, nullptr, kWaitMs), "the region screen");
    WaitUntil([&] { return GetForegroundWindow() == screen; }, 5000);
    Sleep(300); // the pointer rests before the press, as a user's does
    const Picture frozen = GrabScreen(desk);
    MouseDown();
    for (int step = 1; step <= 10; ++step)
        MoveMouse({-760 + 110 * step, 240 + 45 * step});
    // Shown once the rubber band and the size label have been drawn.
    Picture shown = GrabScreen(desk);
    WaitUntil(
        [&] {
            shown = GrabScreen(desk);
            return shown.pixels != frozen.pixels;
        },
        kWaitMs, 300);
    WritePicture(shown, folder, L"region-two-monitors");
    MouseUp();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool twoMonitors = argc == 3 && std::wstring(argv[2]) == L"two-monitors";
    if (argc != 2 && !twoMonitors) {
        std::fputs("usage: screenshot_tour.exe <output folder> [two-monitors]\n", stderr);
        return 2;
    }
    displayDpi = BecomeDpiAware();
    try {
        if (twoMonitors)
            TwoMonitorTour(argv[1]);
        else
            Tour(argv[1]);
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshot_tour: %s\n", error.what());
        return 1;
    }
}
