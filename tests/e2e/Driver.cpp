#include "capture/MainWindow.h"
#include "tests/e2e/Driver.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace e2e {

namespace fs = std::filesystem;

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (done()) return true;
        if (GetTickCount64() >= deadline) return done();
        Sleep(pollMs);
    }
}

namespace {

fs::path NewTemporaryFolder() {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    const fs::path folder =
        fs::path(temp) / (L"snapora-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter));
    fs::remove_all(folder);
    fs::create_directories(folder);
    return folder;
}

} // namespace

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().wstring();
}

SnaporaApp::SnaporaApp(LaunchArgs args) : ownsFolder_(args.programFolder.empty()) {
    if (ownsFolder_) {
        const fs::path fresh = NewTemporaryFolder();
        const fs::path build = BuildFolder();
        fs::copy_file(build / L"Snapora.exe", fresh / L"Snapora.exe");
        if (args.withHook) fs::copy_file(build / L"hook.dll", fresh / L"hook.dll");
        if (fs::exists(build / L"capture.chm")) fs::copy_file(build / L"capture.chm", fresh / L"capture.chm");
        folder_ = fresh.wstring();
    } else {
        folder_ = args.programFolder;
    }
    const fs::path folder = folder_;
    if (args.configIni) {
        std::ofstream out(folder / L"config.ini", std::ios::binary);
        out << *args.configIni;
    }
    if (args.beforeStart) args.beforeStart(folder_);

    // Windows that appear under a resting mouse may miss their first click
    // under Wine: park the mouse in the corner first.
    MoveMouse({5, 5});
    std::wstring commandLine = L"\"" + (folder / L"Snapora.exe").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                        &info))
        throw std::runtime_error("cannot start Snapora.exe");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

std::optional<DWORD> SnaporaApp::RunAnotherCopy(DWORD timeoutMs) const {
    std::wstring commandLine = L"\"" + folder_ + L"\\Snapora.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(), &startup,
                        &info))
        return std::nullopt;
    CloseHandle(info.hThread);
    std::optional<DWORD> exitCode;
    if (WaitForSingleObject(info.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(info.hProcess, &code);
        exitCode = code;
    } else {
        TerminateProcess(info.hProcess, 99);
    }
    CloseHandle(info.hProcess);
    return exitCode;
}

SnaporaApp::~SnaporaApp() {
    if (IsRunning()) {
        if (!Close(5000)) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
    }
    CloseHandle(process_);
    if (!ownsFolder_) return;
    std::error_code ignored;
    // The folder may be locked for a moment after the process ends.
    WaitUntil(
        [&] { return fs::remove_all(folder_, ignored) != static_cast<std::uintmax_t>(-1) && !fs::exists(folder_); },
        3000, 100);
}

bool SnaporaApp::IsRunning() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> SnaporaApp::WaitForExit(DWORD timeoutMs) const {
    if (WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::vector<HWND> SnaporaApp::Windows(bool includeHidden) const {
    struct Search {
        DWORD pid;
        bool includeHidden;
        std::vector<HWND> found;
    } search{processId_, includeHidden, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s->pid && (s->includeHidden || IsWindowVisible(hwnd))) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND SnaporaApp::FindWindowOf(const wchar_t* className, const wchar_t* caption, bool includeHidden) const {
    for (HWND hwnd : Windows(includeHidden)) {
        if (className && WindowClass(hwnd) != className) continue;
        if (caption && WindowCaption(hwnd) != caption) continue;
        return hwnd;
    }
    return nullptr;
}

HWND SnaporaApp::WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                               bool includeHidden) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(className, caption, includeHidden)) != nullptr; }, timeoutMs);
    return found;
}

std::optional<DWORD> SnaporaApp::Close(DWORD timeoutMs) {
    HWND main = WaitForWindow(capture::kMainWindowClass, nullptr, timeoutMs, true);
    if (!main) return std::nullopt;
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

TargetProgram::TargetProgram(RECT b) {
    // A window that appears under a resting mouse may miss the first click
    // under Wine: park the mouse away from where it will appear.
    MoveMouse({b.right + 20 < GetSystemMetrics(SM_CXSCREEN) ? b.right + 20 : 5, 5});
    std::wstring commandLine = L"\"" + (fs::path(BuildFolder()) / L"e2e_target.exe").wstring() + L"\" " +
                               std::to_wstring(b.left) + L" " + std::to_wstring(b.top) + L" " +
                               std::to_wstring(b.right - b.left) + L" " + std::to_wstring(b.bottom - b.top);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start e2e_target.exe");
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
    WaitUntil(
        [&] {
            HWND found = FindWindowW(L"SnaporaTestTarget", nullptr);
            DWORD pid = 0;
            if (found) GetWindowThreadProcessId(found, &pid);
            if (pid != processId_ || !IsWindowVisible(found)) return false;
            window_ = found;
            button_ = FindWindowExW(found, nullptr, L"BUTTON", nullptr);
            return button_ != nullptr;
        },
        10000);
    if (!window_) throw std::runtime_error("e2e_target.exe showed no window");
    // A click that arrives while the window is still being activated can be
    // lost to the focus change; start only once it is in front and painted.
    WaitUntil([&] { return GetForegroundWindow() == window_; }, 3000);
    Sleep(300);
}

TargetProgram::~TargetProgram() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) TerminateProcess(process_, 99);
    CloseHandle(process_);
}

std::wstring TargetProgram::KeysTyped() const {
    wchar_t text[256] = {};
    SendMessageW(FindWindowExW(window_, nullptr, L"STATIC", nullptr), WM_GETTEXT, std::size(text),
                 reinterpret_cast<LPARAM>(text));
    return text;
}

int TargetProgram::Clicks() const {
    const std::wstring caption = WindowCaption(window_);
    const size_t space = caption.find_last_of(L' ');
    return space == std::wstring::npos ? -1 : std::stoi(caption.substr(space + 1));
}

namespace {

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // With its scan code, as a keyboard sends it: some controls (the hotkey
    // field under Wine) read the key from the scan code alone.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void SendMouse(DWORD flags, DWORD data = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.mouseData = data;
    SendInput(1, &input, sizeof input);
}

DWORD DownFlag(Button button) {
    switch (button) {
    case Button::Right:
        return MOUSEEVENTF_RIGHTDOWN;
    case Button::Middle:
        return MOUSEEVENTF_MIDDLEDOWN;
    default:
        return MOUSEEVENTF_LEFTDOWN;
    }
}

DWORD UpFlag(Button button) {
    switch (button) {
    case Button::Right:
        return MOUSEEVENTF_RIGHTUP;
    case Button::Middle:
        return MOUSEEVENTF_MIDDLEUP;
    default:
        return MOUSEEVENTF_LEFTUP;
    }
}

// Gives the target program time to take the input from its queue.
void Settle() { Sleep(30); }

// Mouse input at the pixel at. Wine maps absolute coordinates to pixels as
// dx * width / 65536, rounded down, so the smallest value that reaches the
// pixel lands on it exactly.
void SendMouseAt(POINT at, DWORD flags) {
    const LONGLONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = static_cast<LONG>((at.x * 65536LL + w - 1) / w);
    input.mi.dy = static_cast<LONG>((at.y * 65536LL + h - 1) / h);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &input, sizeof input);
}

} // namespace

void PressKeys(std::initializer_list<WORD> keys) {
    for (WORD key : keys)
        SendKey(key, false);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        SendKey(*it, true);
    Settle();
}

void MoveMouse(POINT to) {
    SendMouseAt(to, 0);
    // Should the mapping round by a pixel, put the cursor exactly where asked.
    // Wine moves the cursor asynchronously, so wait until it is there.
    POINT now{};
    GetCursorPos(&now);
    if (now.x != to.x || now.y != to.y) SetCursorPos(to.x, to.y);
    WaitUntil(
        [&] {
            GetCursorPos(&now);
            return now.x == to.x && now.y == to.y;
        },
        1000, 5);
    Settle();
}

void MouseDown(Button button) {
    SendMouse(DownFlag(button));
    Settle();
}

void MouseUp(Button button) {
    SendMouse(UpFlag(button));
    Settle();
}

// Presses and releases carry their own position. Under Wine each cursor move
// warps the X pointer, and the process whose window lies under it reports the
// new place back as a mouse move when it next reads its X events. That report
// can come after the driver has moved on and put the cursor back for a moment;
// a press without a position of its own would land there.
void Click(POINT at, Button button) {
    MoveMouse(at);
    SendMouseAt(at, DownFlag(button));
    Settle();
    SendMouseAt(at, UpFlag(button));
    Settle();
}

void DoubleClick(POINT at) {
    MoveMouse(at);
    SendMouseAt(at, MOUSEEVENTF_LEFTDOWN);
    SendMouseAt(at, MOUSEEVENTF_LEFTUP);
    SendMouseAt(at, MOUSEEVENTF_LEFTDOWN);
    SendMouseAt(at, MOUSEEVENTF_LEFTUP);
    Settle();
}

void Drag(POINT from, POINT to, Button button, int steps) {
    MoveMouse(from);
    SendMouseAt(from, DownFlag(button));
    Settle();
    for (int i = 1; i <= steps; ++i)
        MoveMouse({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    SendMouseAt(to, UpFlag(button));
    Settle();
}

std::optional<Picture> ReadClipboardBitmap() {
    std::optional<Picture> result;
    // Another program may hold the clipboard for a moment.
    if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000, 20)) return result;
    if (HANDLE data = GetClipboardData(CF_DIB)) {
        if (const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(data))) {
            const BITMAPINFOHEADER& h = info->bmiHeader;
            HDC screen = GetDC(nullptr);
            const BYTE* bits = reinterpret_cast<const BYTE*>(info) + h.biSize +
                               (h.biCompression == BI_BITFIELDS ? 12 : 0) +
                               (h.biBitCount <= 8 ? (h.biClrUsed ? h.biClrUsed : 1u << h.biBitCount) * 4 : 0);
            HBITMAP bitmap = CreateDIBitmap(screen, &h, CBM_INIT, bits, info, DIB_RGB_COLORS);
            Picture picture;
            picture.width = h.biWidth;
            picture.height = h.biHeight < 0 ? -h.biHeight : h.biHeight;
            picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
            BITMAPINFO out{};
            out.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
            out.bmiHeader.biWidth = picture.width;
            out.bmiHeader.biHeight = -picture.height;
            out.bmiHeader.biPlanes = 1;
            out.bmiHeader.biBitCount = 32;
            out.bmiHeader.biCompression = BI_RGB;
            GetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &out, DIB_RGB_COLORS);
            for (auto& p : picture.pixels)
                p &= 0xFFFFFF;
            DeleteObject(bitmap);
            ReleaseDC(nullptr, screen);
            GlobalUnlock(data);
            result = std::move(picture);
        }
    }
    CloseClipboard();
    return result;
}

void ClearClipboard() {
    if (WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, 2000, 20)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

Picture GrabScreen(const RECT& area) {
    Picture picture;
    picture.width = area.right - area.left;
    picture.height = area.bottom - area.top;
    picture.pixels.resize(static_cast<size_t>(picture.width) * picture.height);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture.width;
    info.bmiHeader.biHeight = -picture.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, dib);
    BitBlt(memory, 0, 0, picture.width, picture.height, screen, area.left, area.top, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto* source = static_cast<const std::uint32_t*>(bits);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
        picture.pixels[i] = source[i] & 0xFFFFFF;
    SelectObject(memory, old);
    DeleteObject(dib);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return picture;
}

std::uint32_t ScreenPixel(int x, int y) { return GrabScreen({x, y, x + 1, y + 1}).At(0, 0); }

std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW((fs::path(folder) / pattern).c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.emplace_back(data.cFileName);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return names;
}

std::wstring WindowCaption(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring WindowClass(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

} // namespace e2e
