#include "bench/Loop.h"

#include "app/SnaporaApp.h"
#include "bench/Desktop.h"
#include "bench/Measure.h"
#include "bench/References.h"
#include "capture/Grab.h"
#include "capture/PeriodicCapture.h"
#include "imaging/ImageWriters.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace bench {

namespace {

void Repeat(double seconds, const std::function<void()>& operation) {
    const double end = NowMs() + seconds * 1000;
    int count = 0;
    const double from = NowMs();
    while (NowMs() < end) {
        operation();
        ++count;
    }
    std::printf("%d runs, %.2f ms each\n", count, (NowMs() - from) / count);
}

} // namespace

bool Loop(const std::string& name, double seconds) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const ui::Bitmap content = DesktopContent(w, h);
    DesktopWindow desktop(content);
    desktop.WaitUntilShown();
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    const std::filesystem::path folder = std::filesystem::path(base) / L"snapora-bench-loop";
    if (name == "grab-new") {
        Repeat(seconds, [] {
            ui::Bitmap screen;
            capture::GrabScreen(screen);
        });
    } else if (name == "grab-kept") {
        ui::Bitmap screen;
        Repeat(seconds, [&] { capture::GrabScreen(screen); });
    } else if (name == "floor") {
        FloorGrab floor;
        Repeat(seconds, [&] { floor.Grab(); });
    } else if (name == "tick") {
        settings::CaptureOptions options;
        options.IncludeCursor = true;
        options.PeriodicFolder = folder.wstring();
        capture::PeriodicCapture periodic(options, [] { return settings::PeriodicSource::FullScreen; });
        Repeat(seconds, [&] { periodic.Tick(); });
    } else if (name == "tick-parts") {
        // The periodic step's encoding and writing taken apart, alternating
        // so that the load of the machine weighs on all alike.
        ui::Bitmap screen;
        capture::GrabScreen(screen);
        MemoryJpeg jpeg;
        std::filesystem::create_directories(folder);
        const std::wstring file = (folder / L"part.jpg").wstring();
        imaging::WriteJpeg(screen, file, imaging::kRealTimeJpeg);
        const long long bytes = FileBytes(file);
        std::vector<char> block(static_cast<size_t>(bytes));
        std::vector<double> memoryMs, fileMs, plainMs, noFlushMs;
        for (int i = 0; i < static_cast<int>(seconds * 4); ++i) {
            double t = NowMs();
            jpeg.Encode(screen, 100, true);
            memoryMs.push_back(NowMs() - t);
            t = NowMs();
            imaging::WriteJpeg(screen, file, imaging::kRealTimeJpeg);
            fileMs.push_back(NowMs() - t);
            t = NowMs();
            WriteZeroFile(file, bytes);
            plainMs.push_back(NowMs() - t);
            t = NowMs();
            HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
            DWORD written = 0;
            WriteFile(h, block.data(), static_cast<DWORD>(bytes), &written, nullptr);
            CloseHandle(h);
            noFlushMs.push_back(NowMs() - t);
        }
        std::printf("jpeg in memory %.3f ms\njpeg to file %.3f ms\nplain write of %lld bytes through the file "
                    "layer %.3f ms\nthe same in one WriteFile, no flush, no rename %.3f ms\n",
                    Median(memoryMs), Median(fileMs), bytes, Median(plainMs), Median(noFlushMs));
    } else if (name == "tick-ab") {
        // The floor's sum against the tick and its parts, alternating.
        FloorGrab floor;
        MemoryJpeg jpeg;
        ui::Bitmap screen;
        settings::CaptureOptions options;
        options.IncludeCursor = true;
        options.PeriodicFolder = (folder / L"ticks").wstring();
        capture::PeriodicCapture periodic(options, [] { return settings::PeriodicSource::FullScreen; });
        std::filesystem::create_directories(folder / L"files");
        std::vector<double> floorMs, tickMs, inMemoryMs, fileMs, encodeMs;
        for (int i = 0; i < static_cast<int>(seconds * 3); ++i) {
            double t = NowMs();
            floor.Grab();
            jpeg.Encode(floor.Picture(), 100, true);
            floorMs.push_back(NowMs() - t);
            t = NowMs();
            periodic.Tick();
            tickMs.push_back(NowMs() - t);
            t = NowMs();
            capture::GrabScreen(screen);
            capture::DrawCursor(screen);
            jpeg.Encode(screen, 100, true);
            inMemoryMs.push_back(NowMs() - t);
            t = NowMs();
            imaging::WriteJpeg(screen, (folder / L"files" / (std::to_wstring(i) + L".jpg")).wstring(),
                               imaging::kRealTimeJpeg);
            fileMs.push_back(NowMs() - t);
            t = NowMs();
            jpeg.Encode(screen, 100, true);
            encodeMs.push_back(NowMs() - t);
        }
        std::printf("floor sum %.3f ms\ntick %.3f ms\ngrab+cursor+JPEG in memory %.3f ms\n"
                    "WriteJpeg to a new file %.3f ms\nthe same JPEG in memory %.3f ms\n",
                    Median(floorMs), Median(tickMs), Median(inMemoryMs), Median(fileMs), Median(encodeMs));
    } else if (name == "file-parts") {
        // What the file layer does for one picture of a megabyte, call by call.
        std::filesystem::create_directories(folder);
        const std::wstring stem = (folder / L"target").wstring();
        std::vector<char> block(1000000);
        std::vector<double> createMs, writeMs, flushMs, closeMs, moveMs, attributesMs;
        std::vector<double> fullPathMs;
        for (int i = 0; i < static_cast<int>(seconds * 10); ++i) {
            // A new name each time, as periodic capture writes.
            const std::wstring target = stem + std::to_wstring(i) + L".jpg", temp = target + L".tmp";
            double t = NowMs();
            wchar_t full[MAX_PATH];
            GetFullPathNameW(target.c_str(), MAX_PATH, full, nullptr);
            fullPathMs.push_back(NowMs() - t);
            t = NowMs();
            GetFileAttributesW(target.c_str());
            attributesMs.push_back(NowMs() - t);
            t = NowMs();
            HANDLE h = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
            createMs.push_back(NowMs() - t);
            t = NowMs();
            DWORD written = 0;
            for (size_t at = 0; at < block.size(); at += 256 * 1024)
                WriteFile(h, block.data() + at, static_cast<DWORD>(std::min<size_t>(256 * 1024, block.size() - at)),
                          &written, nullptr);
            writeMs.push_back(NowMs() - t);
            t = NowMs();
            FlushFileBuffers(h);
            flushMs.push_back(NowMs() - t);
            t = NowMs();
            CloseHandle(h);
            closeMs.push_back(NowMs() - t);
            t = NowMs();
            MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
            moveMs.push_back(NowMs() - t);
        }
        std::printf("GetFullPathName %.3f ms\n", Median(fullPathMs));
        std::printf("GetFileAttributes %.3f ms\nCreateFile %.3f ms\nWriteFile x4 (1 MB) %.3f ms\n"
                    "FlushFileBuffers %.3f ms\nCloseHandle %.3f ms\nMoveFileEx %.3f ms\n",
                    Median(attributesMs), Median(createMs), Median(writeMs), Median(flushMs), Median(closeMs),
                    Median(moveMs));
    } else if (name == "grab-parts") {
        // The grab and the cursor taken apart, alternating so that the load
        // of the machine weighs on all alike.
        ui::Bitmap screen;
        FloorGrab floor;
        std::vector<double> floorMs, grabMs, dcMs, infoMs, cursorMs, hotSpotMs, drawMs, capsMs, positionMs, windowMs,
            depthMs, metricsMs;
        HCURSOR cursor = nullptr;
        for (int i = 0; i < static_cast<int>(seconds * 4); ++i) {
            double t = NowMs();
            floor.Grab();
            floorMs.push_back(NowMs() - t);
            t = NowMs();
            capture::GrabScreen(screen);
            grabMs.push_back(NowMs() - t);
            t = NowMs();
            HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
            DeleteDC(display);
            dcMs.push_back(NowMs() - t);
            HDC screenDc = GetDC(nullptr);
            t = NowMs();
            GetDeviceCaps(screenDc, HORZRES);
            capsMs.push_back(NowMs() - t);
            t = NowMs();
            GetDeviceCaps(screenDc, BITSPIXEL);
            depthMs.push_back(NowMs() - t);
            t = NowMs();
            GetSystemMetrics(SM_CXSCREEN);
            metricsMs.push_back(NowMs() - t);
            t = NowMs();
            POINT where;
            GetCursorPos(&where);
            positionMs.push_back(NowMs() - t);
            t = NowMs();
            WindowFromPoint(where);
            windowMs.push_back(NowMs() - t);
            ReleaseDC(nullptr, screenDc);
            t = NowMs();
            CURSORINFO state{sizeof(state)};
            GetCursorInfo(&state);
            infoMs.push_back(NowMs() - t);
            t = NowMs();
            cursor = capture::GetCursorIcon();
            cursorMs.push_back(NowMs() - t);
            t = NowMs();
            const POINT hot = capture::GetCursorHotSpot(cursor ? cursor : state.hCursor);
            hotSpotMs.push_back(NowMs() - t);
            t = NowMs();
            DrawIconEx(screen.Canvas(), 100 - hot.x, 100 - hot.y, cursor ? cursor : state.hCursor, 0, 0, 0, nullptr,
                       DI_NORMAL);
            GdiFlush();
            drawMs.push_back(NowMs() - t);
        }
        std::printf("floor BitBlt %.3f ms\nGrabScreen (kept) %.3f ms\nCreateDC+DeleteDC %.3f ms\n"
                    "GetCursorInfo %.3f ms\nGetCursorIcon %.3f ms\nGetCursorHotSpot %.3f ms\nDrawIconEx %.3f ms\n",
                    Median(floorMs), Median(grabMs), Median(dcMs), Median(infoMs), Median(cursorMs), Median(hotSpotMs),
                    Median(drawMs));
        std::printf("GetDeviceCaps HORZRES %.3f ms\nGetDeviceCaps BITSPIXEL %.3f ms\nGetSystemMetrics %.3f ms\n"
                    "GetCursorPos %.3f ms\nWindowFromPoint %.3f ms\n",
                    Median(capsMs), Median(depthMs), Median(metricsMs), Median(positionMs), Median(windowMs));
    } else if (name == "zoom") {
        app::SnaporaApp snapora;
        const ui::Bitmap large = DesktopContent(3840, 2160);
        desktop.SetTopmost(false);
        picture::PictureWindow& window = snapora.PictureWindow();
        window.LoadPicture(large);
        window.Present();
        PumpFor(500);
        Repeat(seconds, [&] {
            window.OnZoomIn();
            UpdateWindow(window.Handle());
            window.OnOriginalSize();
            UpdateWindow(window.Handle());
            GdiFlush();
        });
    } else if (name == "zoom-parts") {
        // One Zoom In step taken apart: the new picture, its black fill, the
        // stretch, and the paint of the window.
        app::SnaporaApp snapora;
        const ui::Bitmap large = DesktopContent(3840, 2160);
        desktop.SetTopmost(false);
        picture::PictureWindow& window = snapora.PictureWindow();
        window.LoadPicture(large);
        window.Present();
        PumpFor(500);
        std::vector<double> allocateMs, touchMs, blackMs, stretchMs, copyMs, paintMs;
        const int zw = 4608, zh = 2592;
        for (int i = 0; i < static_cast<int>(seconds * 2); ++i) {
            double t = NowMs();
            ui::Bitmap zoomed(zw, zh, 32);
            zoomed.Canvas();
            allocateMs.push_back(NowMs() - t);
            t = NowMs();
            PatBlt(zoomed.Canvas(), 0, 0, zw, zh, BLACKNESS);
            GdiFlush();
            touchMs.push_back(NowMs() - t);
            t = NowMs();
            PatBlt(zoomed.Canvas(), 0, 0, zw, zh, BLACKNESS);
            GdiFlush();
            blackMs.push_back(NowMs() - t);
            t = NowMs();
            SetStretchBltMode(zoomed.Canvas(), COLORONCOLOR);
            StretchBlt(zoomed.Canvas(), 0, 0, zw, zh, large.Canvas(), 0, 0, 3840, 2160, SRCCOPY);
            GdiFlush();
            stretchMs.push_back(NowMs() - t);
            t = NowMs();
            BitBlt(zoomed.Canvas(), 0, 0, 3840, 2160, large.Canvas(), 0, 0, SRCCOPY);
            GdiFlush();
            copyMs.push_back(NowMs() - t);
            t = NowMs();
            InvalidateRect(window.Handle(), nullptr, FALSE);
            UpdateWindow(window.Handle());
            GdiFlush();
            paintMs.push_back(NowMs() - t);
        }
        std::printf("new %dx%d picture %.3f ms\nfirst fill (page faults) %.3f ms\nsecond fill %.3f ms\n"
                    "StretchBlt 3840x2160 -> %dx%d %.3f ms\nBitBlt 3840x2160 %.3f ms\npaint of the window %.3f ms\n",
                    zw, zh, Median(allocateMs), Median(touchMs), Median(blackMs), zw, zh, Median(stretchMs),
                    Median(copyMs), Median(paintMs));
    } else if (name == "thread") {
        std::printf("start and join of a thread %.3f ms\n",
                    MedianMs(static_cast<int>(seconds * 100), [] { std::thread([] {}).join(); }));
    } else if (name == "handoff") {
        // A job handed to a waiting thread and waited for, with the C++
        // library's mutex and condition variable (winpthreads under MinGW).
        std::mutex mutex;
        std::condition_variable changed;
        bool busy = false, quit = false;
        std::thread helper([&] {
            std::unique_lock lock(mutex);
            for (;;) {
                changed.wait(lock, [&] { return quit || busy; });
                if (quit) return;
                busy = false;
                changed.notify_all();
            }
        });
        std::printf("std::condition_variable hand-off %.3f ms\n", MedianMs(static_cast<int>(seconds * 100), [&] {
                        {
                            std::lock_guard lock(mutex);
                            busy = true;
                        }
                        changed.notify_all();
                        std::unique_lock lock(mutex);
                        changed.wait(lock, [&] { return !busy; });
                    }));
        {
            std::lock_guard lock(mutex);
            quit = true;
        }
        changed.notify_all();
        helper.join();
        // The same with the system's slim lock and condition variable.
        SRWLOCK srw = SRWLOCK_INIT;
        CONDITION_VARIABLE cv = CONDITION_VARIABLE_INIT;
        busy = quit = false;
        std::thread helper2([&] {
            AcquireSRWLockExclusive(&srw);
            for (;;) {
                while (!quit && !busy)
                    SleepConditionVariableSRW(&cv, &srw, INFINITE, 0);
                if (quit) break;
                busy = false;
                WakeAllConditionVariable(&cv);
            }
            ReleaseSRWLockExclusive(&srw);
        });
        std::printf("SRWLOCK hand-off %.3f ms\n", MedianMs(static_cast<int>(seconds * 100), [&] {
                        AcquireSRWLockExclusive(&srw);
                        busy = true;
                        WakeAllConditionVariable(&cv);
                        while (busy)
                            SleepConditionVariableSRW(&cv, &srw, INFINITE, 0);
                        ReleaseSRWLockExclusive(&srw);
                    }));
        AcquireSRWLockExclusive(&srw);
        quit = true;
        WakeAllConditionVariable(&cv);
        ReleaseSRWLockExclusive(&srw);
        helper2.join();
    } else if (name == "memory") {
        // Where the memory of a full-screen capture goes, step by step.
        const double frame = 4.0 * w * h;
        app::SnaporaApp snapora;
        desktop.SetTopmost(false);
        picture::PictureWindow& window = snapora.PictureWindow();
        PumpFor(500);
        const double idle = PrivateBytes();
        auto report = [&](const char* when) {
            PumpFor(300);
            std::printf("%-44s %6.2f frames\n", when, (PrivateBytes() - idle) / frame);
        };
        {
            ui::Bitmap screen;
            capture::GrabScreen(screen);
            report("grabbed");
            window.LoadScreenPicture(std::move(screen));
            report("loaded");
        }
        window.Present();
        report("shown");
        PostMessageW(window.Handle(), WM_CLOSE, 0, 0);
        report("closed");
        SetWindowPos(window.Handle(), nullptr, 0, 0, 200, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        report("closed, then made small");
        ShowWindow(window.Handle(), SW_SHOWNORMAL);
        report("shown small");
        ShowWindow(window.Handle(), SW_HIDE);
        report("hidden small");
    } else if (name == "png") {
        const ui::Bitmap picture = DesktopContent(1920, 1080);
        std::filesystem::create_directories(folder);
        Repeat(seconds, [&] { imaging::WritePng(picture, (folder / L"loop.png").wstring()); });
    } else {
        return false;
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return true;
}

} // namespace bench
