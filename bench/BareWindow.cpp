// bench_window.exe: a Wine process that shows one plain window and nothing
// else. It is the benchmark's reference for what any program costs under
// Wine (memory, wake-ups, processor time), and the other program whose input
// the benchmark times: it stamps each WM_KEYDOWN and WM_MOUSEMOVE as it
// takes it from its queue (InputStamps.h).
//   bench_window.exe [X Y W H]   the window's place; a third of the screen by default
#include "bench/InputStamps.h"

#include <cstdlib>

namespace {

bench::InputStamps* g_stamps = nullptr;
HANDLE g_arrived = nullptr;

void Stamp(LONGLONG bench::InputStamps::*field) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    g_stamps->*field = now.QuadPart;
    SetEvent(g_arrived);
}

LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_KEYDOWN:
        Stamp(&bench::InputStamps::keyDownAt);
        return 0;
    case WM_MOUSEMOVE:
        Stamp(&bench::InputStamps::mouseMoveAt);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(bench::InputStamps),
                                        bench::kInputStampsName);
    if (!mapping) return 1;
    g_stamps = static_cast<bench::InputStamps*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    g_arrived = CreateEventW(nullptr, FALSE, FALSE, bench::kInputArrivedName);
    if (!g_stamps || !g_arrived) return 1;

    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    int place[4] = {screenW / 3, screenH / 3, screenW / 3, screenH / 3};
    if (__argc == 5)
        for (int i = 0; i < 4; ++i)
            place[i] = _wtoi(__wargv[i + 1]);

    WNDCLASSW wc{};
    wc.lpfnWndProc = Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = bench::kBareWindowClass;
    if (!RegisterClassW(&wc)) return 1;
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"Bare window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, place[0],
                                  place[1], place[2], place[3], nullptr, nullptr, instance, nullptr);
    if (!window) return 1;
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
