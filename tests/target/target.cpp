// A small program of another process for the end-to-end tests to capture: a
// framed window painted in known colours with one button. Each click on the
// button is counted in the window's caption ("Snapora Test Target N"), so a
// test can tell whether a click reached it; the keys typed into it with Ctrl
// held are listed in a label ("Ctrl+1 Ctrl+D"), so a test can tell which
// keys reached it.
//   e2e_target.exe [x y width height]
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

int g_clicks = 0;
HWND g_button = nullptr;
HWND g_keysLabel = nullptr;
std::wstring g_keys;

// Notes a key typed with Ctrl into any of the program's windows.
void NoteKey(const MSG& msg) {
    if ((msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) || GetKeyState(VK_CONTROL) >= 0) return;
    if (msg.wParam == VK_CONTROL || msg.wParam == VK_SHIFT || msg.wParam == VK_MENU) return;
    if (msg.lParam & (1 << 30)) return; // an auto-repeat
    g_keys += (g_keys.empty() ? L"Ctrl+" : L" Ctrl+") + std::wstring(1, static_cast<wchar_t>(msg.wParam));
    SetWindowTextW(g_keysLabel, g_keys.c_str());
}

void UpdateCaption(HWND window) {
    SetWindowTextW(window, (L"Snapora Test Target " + std::to_wstring(g_clicks)).c_str());
}

LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        g_button = CreateWindowExW(0, L"BUTTON", L"Press me", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 40, 40, 120, 40,
                                   hwnd, reinterpret_cast<HMENU>(1), nullptr, nullptr);
        g_keysLabel = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 40, 90, 200, 20, hwnd,
                                      reinterpret_cast<HMENU>(2), nullptr, nullptr);
        UpdateCaption(hwnd);
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == 1) {
            ++g_clicks;
            UpdateCaption(hwnd);
        }
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        HBRUSH teal = CreateSolidBrush(RGB(0, 128, 128));
        FillRect(dc, &client, teal);
        DeleteObject(teal);
        RECT corner{client.right - 30, client.bottom - 30, client.right, client.bottom};
        HBRUSH orange = CreateSolidBrush(RGB(255, 128, 0));
        FillRect(dc, &corner, orange);
        DeleteObject(orange);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int x = 200, y = 200, w = 320, h = 240;
    if (__argc >= 5) {
        x = std::atoi(__argv[1]);
        y = std::atoi(__argv[2]);
        w = std::atoi(__argv[3]);
        h = std::atoi(__argv[4]);
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"SnaporaTestTarget";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, wc.lpszClassName, L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, x, y, w, h, nullptr,
                                  nullptr, instance, nullptr);
    SetForegroundWindow(window);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        NoteKey(msg);
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
