// Captures on a desk of two monitors: the primary of 1280 x 1024 at (0, 0)
// and a second of 1024 x 768 to its left, at (-1024, 0). These cases run on
// the X.Org server that tools/two-monitors.sh sets up (CTest's
// e2e_monitors), without Wine's virtual desktop, which is always one monitor.
#include "capture/HighlightFrame.h"
#include "region/RegionScreen.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace {

using namespace e2e;

constexpr RECT kPrimary{0, 0, 1280, 1024};
constexpr RECT kLeft{-1024, 0, 0, 768};
constexpr RECT kVirtualScreen{-1024, 0, 1280, 1024};

// Every pixel of the pattern tells which screen point it shows: x + 2048 in
// the high twelve bits, y in the low twelve (never black).
std::uint32_t ColourOfPoint(int x, int y) {
    return (static_cast<std::uint32_t>(x + 2048) & 0xFFF) << 12 | (static_cast<std::uint32_t>(y) & 0xFFF);
}
POINT PointOfColour(std::uint32_t colour) {
    return {static_cast<LONG>((colour >> 12) & 0xFFF) - 2048, static_cast<LONG>(colour & 0xFFF)};
}

// A window of this test that shows ColourOfPoint at every screen point it
// covers; it runs on a thread of its own, so that it paints while the test waits.
class PatternWindow {
public:
    explicit PatternWindow(RECT bounds) : bounds_(bounds) {
        thread_ = std::thread([this] { Run(); });
        std::unique_lock lock(mutex_);
        created_.wait(lock, [this] { return ready_; });
        // Shown once its corners are on the screen.
        EXPECT_TRUE(WaitUntil(
            [&] {
                return ScreenPixel({bounds.left, bounds.top}) == ColourOfPoint(bounds.left, bounds.top) &&
                       ScreenPixel({bounds.right - 1, bounds.bottom - 1}) ==
                           ColourOfPoint(bounds.right - 1, bounds.bottom - 1);
            },
            kWait))
            << "the pattern window did not show";
    }
    ~PatternWindow() {
        PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
        thread_.join();
    }
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_PAINT) {
            auto* self = reinterpret_cast<PatternWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(window, &paint);
            if (self) self->Paint(dc);
            EndPaint(window, &paint);
            return 0;
        }
        if (message == WM_ERASEBKGND) return 1;
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void Paint(HDC dc) const {
        const int w = bounds_.right - bounds_.left, h = bounds_.bottom - bounds_.top;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 32, BI_RGB};
        std::vector<std::uint32_t> pixels(static_cast<size_t>(w) * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                pixels[static_cast<size_t>(y) * w + x] = ColourOfPoint(bounds_.left + x, bounds_.top + y);
        SetDIBitsToDevice(dc, 0, 0, w, h, 0, 0, 0, h, pixels.data(), &info, DIB_RGB_COLORS);
    }

    void Run() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Procedure;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"SnaporaTestPattern";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        RegisterClassW(&wc);
        HWND window = CreateWindowExW(WS_EX_NOACTIVATE, wc.lpszClassName, L"pattern", WS_POPUP, bounds_.left,
                                      bounds_.top, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top, nullptr,
                                      nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        ShowWindow(window, SW_SHOWNOACTIVATE);
        {
            std::lock_guard lock(mutex_);
            threadId_ = GetCurrentThreadId();
            ready_ = true;
        }
        created_.notify_one();
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        DestroyWindow(window);
    }

    RECT bounds_;
    std::thread thread_;
    std::mutex mutex_;
    std::condition_variable created_;
    bool ready_ = false;
    DWORD threadId_ = 0;
};

bool Inside(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// A maximized window's frame reaches a few pixels past its monitor: the
// monitor it is on is the one that holds its centre.
bool OnMonitor(const RECT& monitor, HWND window) {
    RECT r = support::WindowRectOf(window);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    return PtInRect(&monitor, centre) != FALSE;
}

// The shot shows the screen rectangle inside, stretched to its size by
// nearest neighbour: every pixel is the pattern's pixel of a screen point
// in it, the points' columns and rows go up in steps of at most one from the
// first to the last of inside, and the screen held that very pixel.
::testing::AssertionResult ShowsStretched(const Picture& shot, const RECT& inside, const Picture& screen,
                                          POINT screenOrigin) {
    std::vector<LONG> columns, rows;
    for (int x = 0; x < shot.width; ++x)
        columns.push_back(PointOfColour(shot.At(x, 0)).x);
    for (int y = 0; y < shot.height; ++y)
        rows.push_back(PointOfColour(shot.At(0, y)).y);
    const auto steps = [](const std::vector<LONG>& used, LONG first, LONG last) {
        if (used.empty() || used.front() != first || used.back() != last) return false;
        for (size_t i = 1; i < used.size(); ++i)
            if (used[i] != used[i - 1] && used[i] != used[i - 1] + 1) return false;
        return true;
    };
    if (!steps(columns, inside.left, inside.right - 1))
        return ::testing::AssertionFailure() << "columns from " << columns.front() << " to " << columns.back()
                                             << " instead of " << inside.left << " to " << inside.right - 1;
    if (!steps(rows, inside.top, inside.bottom - 1))
        return ::testing::AssertionFailure() << "rows from " << rows.front() << " to " << rows.back() << " instead of "
                                             << inside.top << " to " << inside.bottom - 1;
    for (int y = 0; y < shot.height; ++y)
        for (int x = 0; x < shot.width; ++x) {
            const std::uint32_t expected = screen.At(columns[x] - screenOrigin.x, rows[y] - screenOrigin.y);
            if (shot.At(x, y) != expected || expected != ColourOfPoint(columns[x], rows[y]))
                return ::testing::AssertionFailure() << "pixel " << x << ", " << y << " is " << std::hex
                                                     << shot.At(x, y) << ", the screen showed " << expected;
        }
    return ::testing::AssertionSuccess();
}

// Runs xrandr on the X server (Wine starts a Unix program as it is); the
// caller waits for the change to show.
void RunXrandr(std::wstring arguments) {
    std::wstring commandLine = L"xrandr " + arguments;
    STARTUPINFOW startup{sizeof startup};
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(L"Z:\\usr\\bin\\xrandr", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info))
        << "cannot run xrandr";
    if (info.hThread) CloseHandle(info.hThread);
    if (info.hProcess) CloseHandle(info.hProcess);
}

class TwoMonitors : public CaptureSession {
protected:
    void SetUp() override {
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "these cases need the desk of tools/two-monitors.sh";
        ASSERT_EQ(GetSystemMetrics(SM_XVIRTUALSCREEN), kVirtualScreen.left);
        ASSERT_EQ(GetSystemMetrics(SM_CXVIRTUALSCREEN), kVirtualScreen.right - kVirtualScreen.left);
    }

    // Selected Region by the capture key and a drag from one corner to the
    // other; the picture window that shows it.
    HWND CaptureRegion(POINT from, POINT to) {
        TypeCaptureKey();
        HWND display = app->WaitForWindow(region::kRegionScreenClass, nullptr, kWait);
        EXPECT_NE(display, nullptr) << "the region screen did not open";
        if (!display) return nullptr;
        EXPECT_TRUE(SameRect(WindowRectOf(display), kVirtualScreen)) << "the region screen covers every monitor";
        Drag(from, to);
        return WaitForPictureWindow();
    }
};

} // namespace

TEST_F(TwoMonitors, RegionsOnTheLeftMonitorAndAcrossTheBoundaryAreTheScreensPixels) {
    Start();
    PatternWindow pattern({-1000, 40, 700, 740});
    MoveMouse({-700, 700});
    const Picture before = GrabScreen(kVirtualScreen);

    // 300 x 200 on the left monitor: the inside of the rubber band, stretched.
    HWND save = CaptureRegion({-900, 100}, {-600, 300});
    ASSERT_NE(save, nullptr);
    Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), std::pair(300, 200));
    EXPECT_TRUE(ShowsStretched(shot, {-899, 101, -601, 299}, before, {kVirtualScreen.left, 0}));
    EXPECT_TRUE(OnMonitor(kLeft, save)) << "the picture window opens on the monitor of the region";
    Cancel(save);
    // The X server takes the closed window off the screen a moment later.
    ASSERT_TRUE(WaitUntil([] { return ScreenPixel({-99, 401}) == ColourOfPoint(-99, 401); }, kWait));

    // Across the boundary between the monitors, taken on the primary.
    save = CaptureRegion({-100, 400}, {200, 600});
    ASSERT_NE(save, nullptr);
    shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), std::pair(300, 200));
    EXPECT_TRUE(ShowsStretched(shot, {-99, 401, 199, 599}, before, {kVirtualScreen.left, 0}));
    EXPECT_TRUE(OnMonitor(kPrimary, save));
    Cancel(save);
}

TEST_F(TwoMonitors, ActiveWindowOnTheLeftMonitorAndAFixedRegionOnTheBoundary) {
    Start("[Options]\r\nFixedRegionWidth=320\r\nFixedRegionHeight=240\r\n");
    {
        Select(L"Active Window");
        TargetProgram target({-900, 100, -500, 400});
        const RECT t = WindowRectOf(target.Window());
        ASSERT_TRUE(Inside(kLeft, t)) << "the target window is not on the left monitor";
        ASSERT_NO_FATAL_FAILURE(BringToFront(target));
        const Picture before = GrabScreen(t);
        TypeCaptureKey();
        HWND save = WaitForPictureWindow();
        ASSERT_NE(save, nullptr);
        EXPECT_TRUE(SamePicture(CopyPicture(save), before));
        EXPECT_TRUE(OnMonitor(kLeft, save)) << "the picture window opens on the window's monitor";
        Cancel(save);
    }

    // The box centred on the boundary: its hole (-155, 385) - (155, 615)
    // shows both monitors.
    PatternWindow pattern({-400, 300, 400, 700});
    Select(L"Fixed Region");
    MoveMouse({-300, 650});
    const Picture before = GrabScreen(kVirtualScreen);
    TypeCaptureKey();
    MoveMouse({0, 500});
    ASSERT_TRUE(WaitUntil(
        [&] {
            KeepMouseAt({0, 500});
            HWND frame = app->FindWindowOf(capture::kHighlightFrameClass, nullptr, false);
            return frame && SameRect(WindowRectOf(frame), {-160, 380, 170, 630});
        },
        kWait))
        << "no frame centred on the boundary";
    Click({0, 500});
    HWND save = WaitForPictureWindow(POINT{0, 500});
    ASSERT_NE(save, nullptr);
    const Picture shot = CopyPicture(save);
    ASSERT_EQ(shot.Size(), std::pair(320, 240));
    EXPECT_TRUE(ShowsStretched(shot, {-155, 385, 155, 615}, before, {kVirtualScreen.left, 0}));
    Cancel(save);
}

TEST_F(TwoMonitors, FullScreenTakesThePrimaryTheMonitorUnderTheMouseOrEveryMonitor) {
    PatternWindow pattern({-1000, 40, -100, 700});
    struct Case {
        int setting;
        RECT taken;
    };
    for (const Case& c : {Case{0, kPrimary}, Case{1, kLeft}, Case{2, kVirtualScreen}}) {
        SCOPED_TRACE("FullScreenArea=" + std::to_string(c.setting));
        Start("[Options]\r\nFullScreenArea=" + std::to_string(c.setting) + "\r\n");
        Select(L"Full Screen");
        ASSERT_TRUE(RestMouse({-50, 730})) << "the pointer did not stay on the left monitor";
        const Picture before = GrabScreen(c.taken);
        TypeCaptureKey();
        HWND save = WaitForPictureWindow();
        ASSERT_NE(save, nullptr);
        const Picture shot = CopyPicture(save);
        ASSERT_EQ(shot.Size(), (std::pair<int, int>(c.taken.right - c.taken.left, c.taken.bottom - c.taken.top)));
        // The primary's part left of the main window (whose focus marks may
        // change with the key), the left monitor whole, and black below it,
        // where no monitor shows.
        const int left = c.setting == 2 ? 1024 : 0;
        if (c.setting != 1) {
            EXPECT_TRUE(SamePicture(Part(shot, left, 0, 350, 1024), Part(before, left, 0, 350, 1024)));
        }
        if (c.setting != 0) {
            EXPECT_TRUE(SamePicture(Part(shot, 0, 0, 1024, 768), Part(before, 0, 0, 1024, 768)));
        }
        if (c.setting == 2) {
            for (int y = 768; y < 1024; y += 17)
                for (int x = 0; x < 1024; x += 13)
                    ASSERT_EQ(shot.At(x, y), 0u) << x << ", " << y;
        }
        // Opened where the capture was taken: the left monitor's own capture there.
        EXPECT_TRUE(OnMonitor(c.setting == 1 ? kLeft : kPrimary, save));
        Cancel(save);
        ASSERT_EQ(app->Close(), std::optional<DWORD>(0));
    }
}

TEST_F(TwoMonitors, AWindowOnAMonitorThatIsRemovedComesBackToOneThatExists) {
    Start();
    SetWindowPos(main, nullptr, -800, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return Inside(kLeft, WindowRectOf(main)); }, kWait)) << "the main window did not move";

    struct PutTheMonitorBack {
        ~PutTheMonitorBack() {
            RunXrandr(L"--output DUMMY1 --mode 1024x768_60.00 --left-of DUMMY0");
            WaitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 2; }, 15000, 200);
        }
    } putBack;
    RunXrandr(L"--output DUMMY1 --off");
    ASSERT_TRUE(WaitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 1; }, 15000, 200))
        << "the left monitor was not removed";
    EXPECT_TRUE(WaitUntil([&] { return Inside(kPrimary, WindowRectOf(main)); }, kWait))
        << "the main window stays where no monitor is: " << WindowRectOf(main).left << ", " << WindowRectOf(main).top;
    EXPECT_TRUE(IsWindowVisible(main));

    // The same while the window is hidden, as in the tray: it comes back as
    // it is shown again.
    RunXrandr(L"--output DUMMY1 --mode 1024x768_60.00 --left-of DUMMY0");
    ASSERT_TRUE(WaitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 2; }, 15000, 200))
        << "the left monitor did not come back";
    ShowWindow(main, SW_HIDE);
    SetWindowPos(main, nullptr, -800, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(main) && Inside(kLeft, WindowRectOf(main)); }, kWait));
    RunXrandr(L"--output DUMMY1 --off");
    ASSERT_TRUE(WaitUntil([] { return GetSystemMetrics(SM_CMONITORS) == 1; }, 15000, 200))
        << "the left monitor was not removed again";
    ShowWindow(main, SW_SHOWNOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) && Inside(kPrimary, WindowRectOf(main)); }, kWait))
        << "the main window shows where no monitor is: " << WindowRectOf(main).left << ", " << WindowRectOf(main).top;
}
