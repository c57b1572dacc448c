#include "tests/support/Windows.h"

#include "tests/support/Wait.h"

#include <iterator>

namespace support {

std::vector<HWND> WindowsOf(DWORD processId, bool includeHidden) {
    struct Search {
        DWORD processId;
        bool includeHidden;
        std::vector<HWND> found;
    } search{processId, includeHidden, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == s->processId && (s->includeHidden || IsWindowVisible(hwnd))) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::wstring WindowCaption(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

POINT ScreenPoint(HWND window, POINT client) {
    ClientToScreen(window, &client);
    return client;
}

RECT WindowRectOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return r;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

bool IsChecked(HWND button) { return SendMessageW(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }

bool IsChecked(HWND window, const wchar_t* caption) {
    HWND button = window ? FindWindowExW(window, nullptr, L"Button", caption) : nullptr;
    return button && IsChecked(button);
}

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

bool Answers(HWND window, DWORD timeoutMs) {
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored) != 0;
}

std::wstring MessageBoxText(HWND box) {
    std::wstring text;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM lParam) -> BOOL {
            if (lstrcmpiW(WindowClass(child).c_str(), L"Static") == 0) {
                // WM_GETTEXT, since GetWindowText does not read another
                // process's controls.
                wchar_t buffer[2048]{};
                SendMessageW(child, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
                *reinterpret_cast<std::wstring*>(lParam) += buffer;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&text));
    return text;
}

bool PressOk(HWND box, DWORD timeoutMs) {
    // By message: the box is the system's, and a command does not depend on
    // whether it has settled in its place or is active.
    PostMessageW(FindWindowExW(box, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    return WaitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, timeoutMs);
}

bool EnterFileName(HWND dialog, const std::wstring& name) {
    constexpr int kNameCombo = 0x47C, kNameEdit = 0x480; // cmb13, and edt1 in older templates
    HWND nameBox = GetDlgItem(dialog, kNameCombo);
    if (!nameBox) nameBox = GetDlgItem(dialog, kNameEdit);
    if (!nameBox) return false;
    SendMessageW(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    return true;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

int BecomeDpiAware() {
    // Looked up at run time, like the program does: older systems lack them.
    using SetAwareness = BOOL WINAPI(DPI_AWARENESS_CONTEXT);
    using SystemDpi = UINT WINAPI();
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (auto* set = reinterpret_cast<SetAwareness*>(
            reinterpret_cast<void*>(GetProcAddress(user32, "SetProcessDpiAwarenessContext"))))
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    auto* dpi = reinterpret_cast<SystemDpi*>(reinterpret_cast<void*>(GetProcAddress(user32, "GetDpiForSystem")));
    return dpi ? static_cast<int>(dpi()) : 96;
}

} // namespace support
