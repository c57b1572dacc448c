#include "tests/support/RunningSnapora.h"

#include "app/MainWindow.h"
#include "tests/support/Input.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <filesystem>
#include <stdexcept>

namespace support {

namespace fs = std::filesystem;

namespace {

// The program holds this mutex for its life; a copy started while another
// holds it hands over to that one and exits at once.
constexpr wchar_t kSingleInstanceMutex[] = L"Local\\Snapora.SingleInstance";

// Ending a process under Wine takes the wineserver a while, and on a loaded
// machine much longer than on an idle one.
constexpr DWORD kEndWait = 30000;

bool AnotherCopyRuns() {
    HANDLE held = OpenMutexW(SYNCHRONIZE, FALSE, kSingleInstanceMutex);
    if (held) CloseHandle(held);
    return held != nullptr;
}

// Starts the program and gives its process, or null with the error code set.
PROCESS_INFORMATION StartProcess(const std::wstring& exe, const std::wstring& arguments, const wchar_t* folder) {
    std::wstring commandLine = L"\"" + exe + L"\"" + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
        CloseHandle(info.hThread);
    return info;
}

std::optional<DWORD> ExitCodeWithin(HANDLE process, DWORD timeoutMs) {
    if (WaitForSingleObject(process, timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    return code;
}

// Terminates a process that is still running and waits until it has gone.
void EndProcess(HANDLE process) {
    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) return;
    TerminateProcess(process, 99);
    WaitForSingleObject(process, kEndWait);
}

} // namespace

std::wstring BuildFolder() {
    wchar_t path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return fs::path(path).parent_path().wstring();
}

RunningSnapora::RunningSnapora(LaunchArgs args) {
    if (args.programFolder.empty()) {
        const fs::path& fresh = ownFolder_.emplace(L"e2e").Path();
        const fs::path build = BuildFolder();
        fs::copy_file(build / L"Snapora.exe", fresh / L"Snapora.exe");
        if (args.withHook) fs::copy_file(build / L"hook.dll", fresh / L"hook.dll");
        if (fs::exists(build / L"capture.chm")) fs::copy_file(build / L"capture.chm", fresh / L"capture.chm");
        folder_ = fresh.wstring();
    } else {
        folder_ = args.programFolder;
    }
    if (args.configIni) WriteFileBytes(folder_ + L"\\config.ini", *args.configIni);
    if (args.beforeStart) args.beforeStart(folder_);

    // A copy that an earlier test started may still be on its way out; this
    // one would hand over to it and exit.
    if (!WaitUntil([] { return !AnotherCopyRuns(); }, kEndWait, 50))
        throw std::runtime_error("an earlier copy of Snapora.exe is still running");
    // Windows that appear under a resting mouse may miss their first click
    // under Wine: park the mouse in the corner first.
    MoveMouse({5, 5});
    // On a loaded machine CreateProcess has been seen to fail once with no
    // other copy running; a failure is tried again until the deadline, and
    // the error is named if it lasts.
    PROCESS_INFORMATION info{};
    DWORD error = 0;
    WaitUntil(
        [&] {
            info = StartProcess(folder_ + L"\\Snapora.exe", L"", folder_.c_str());
            error = GetLastError();
            return info.hProcess != nullptr;
        },
        kEndWait, 200);
    if (!info.hProcess) throw std::runtime_error("cannot start Snapora.exe: error " + std::to_string(error));
    process_ = info.hProcess;
    processId_ = info.dwProcessId;
}

std::optional<DWORD> RunningSnapora::RunAnotherCopy(DWORD timeoutMs) const {
    const PROCESS_INFORMATION info = StartProcess(folder_ + L"\\Snapora.exe", L"", folder_.c_str());
    if (!info.hProcess) return std::nullopt;
    const std::optional<DWORD> exitCode = ExitCodeWithin(info.hProcess, timeoutMs);
    EndProcess(info.hProcess);
    CloseHandle(info.hProcess);
    return exitCode;
}

RunningSnapora::~RunningSnapora() {
    if (IsRunning()) Close(kEndWait);
    EndProcess(process_);
    CloseHandle(process_);
}

bool RunningSnapora::IsRunning() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

std::optional<DWORD> RunningSnapora::WaitForExit(DWORD timeoutMs) const { return ExitCodeWithin(process_, timeoutMs); }

std::vector<HWND> RunningSnapora::Windows(bool includeHidden) const { return WindowsOf(processId_, includeHidden); }

HWND RunningSnapora::FindWindowOf(const wchar_t* className, const wchar_t* caption, bool includeHidden) const {
    for (HWND hwnd : Windows(includeHidden)) {
        if (className && WindowClass(hwnd) != className) continue;
        if (caption && WindowCaption(hwnd) != caption) continue;
        return hwnd;
    }
    return nullptr;
}

HWND RunningSnapora::WaitForWindow(const wchar_t* className, const wchar_t* caption, DWORD timeoutMs,
                                   bool includeHidden) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowOf(className, caption, includeHidden)) != nullptr; }, timeoutMs, 50);
    return found;
}

std::vector<HWND> RunningSnapora::MessageBoxes() const {
    std::vector<HWND> boxes;
    for (HWND window : Windows())
        if (WindowClass(window) == L"#32770") boxes.push_back(window);
    return boxes;
}

std::optional<DWORD> RunningSnapora::Close(DWORD timeoutMs) {
    HWND main = WaitForWindow(app::kMainWindowClass, nullptr, timeoutMs, true);
    if (!main) return std::nullopt;
    PostMessageW(main, WM_CLOSE, 0, 0);
    return WaitForExit(timeoutMs);
}

TargetProgram::TargetProgram(RECT b) {
    // A window that appears under a resting mouse may miss the first click
    // under Wine: park the mouse away from where it will appear.
    MoveMouse({b.right + 20 < GetSystemMetrics(SM_CXSCREEN) ? b.right + 20 : 5, 5});
    const PROCESS_INFORMATION info =
        StartProcess((fs::path(BuildFolder()) / L"e2e_target.exe").wstring(),
                     L" " + std::to_wstring(b.left) + L" " + std::to_wstring(b.top) + L" " +
                         std::to_wstring(b.right - b.left) + L" " + std::to_wstring(b.bottom - b.top),
                     nullptr);
    if (!info.hProcess) throw std::runtime_error("cannot start e2e_target.exe");
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
        10000, 50);
    if (!window_) throw std::runtime_error("e2e_target.exe showed no window");
    // A click that arrives while the window is still being activated can be
    // lost to the focus change; start only once it is in front and painted.
    WaitUntil([&] { return GetForegroundWindow() == window_; }, 3000);
    Pause(300);
}

TargetProgram::~TargetProgram() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) EndProcess(process_);
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

} // namespace support
