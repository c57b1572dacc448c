// The real Snapora.exe, started from a fresh folder and worked from outside
// as a user would; and another program's window for it to capture.
#pragma once

#include "tests/support/Files.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace support {

// The folder that holds the test program, Snapora.exe and hook.dll.
std::wstring BuildFolder();

class RunningSnapora {
public:
    struct LaunchArgs {
        // The config.ini to put beside the exe; none when empty.
        std::optional<std::string> configIni;
        bool withHook = true;
        // Runs in the prepared folder just before the program starts.
        std::function<void(const std::wstring& folder)> beforeStart;
        // A folder that already holds the program, such as an unpacked
        // release: Snapora.exe starts there as it is, and the folder stays.
        std::wstring programFolder;
    };

    // Copies Snapora.exe (and hook.dll) into a fresh temporary folder and
    // starts it there, or starts it in the given programFolder. Only one copy
    // runs per session, so it first waits until any earlier copy has ended.
    explicit RunningSnapora(LaunchArgs args);
    RunningSnapora() : RunningSnapora(LaunchArgs{}) {}
    // Ends the program if it still runs, waits until it has, and removes the
    // folder it made.
    ~RunningSnapora();
    RunningSnapora(const RunningSnapora&) = delete;
    RunningSnapora& operator=(const RunningSnapora&) = delete;

    const std::wstring& Folder() const { return folder_; }
    DWORD ProcessId() const { return processId_; }
    bool IsRunning() const;
    // The exit code once the process has ended within the time, else nothing.
    std::optional<DWORD> WaitForExit(DWORD timeoutMs) const;

    // Top-level windows of the process; only visible ones unless asked.
    std::vector<HWND> Windows(bool includeHidden = false) const;
    // The process's top-level window of that class (and caption, when given).
    HWND FindWindowOf(const wchar_t* className, const wchar_t* caption = nullptr, bool includeHidden = true) const;
    HWND WaitForWindow(const wchar_t* className, const wchar_t* caption = nullptr, DWORD timeoutMs = 10000,
                       bool includeHidden = false) const;
    // The program's message boxes on the screen (error boxes, notices).
    std::vector<HWND> MessageBoxes() const;

    // Starts another copy of the program from the same folder and gives its
    // exit code, or nothing if it did not end within the time.
    std::optional<DWORD> RunAnotherCopy(DWORD timeoutMs) const;

    // Asks the main window to close, as its close button does, and waits for
    // the process to end; gives the exit code, or nothing if it did not end.
    std::optional<DWORD> Close(DWORD timeoutMs = 10000);

private:
    std::optional<TempFolder> ownFolder_;
    std::wstring folder_;
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
};

// Another program's window to capture: e2e_target.exe, a framed window with
// one button ("Press me") whose clicks are counted in the caption.
class TargetProgram {
public:
    explicit TargetProgram(RECT bounds);
    ~TargetProgram();
    TargetProgram(const TargetProgram&) = delete;
    TargetProgram& operator=(const TargetProgram&) = delete;

    HWND Window() const { return window_; }
    HWND Button() const { return button_; }
    // How many clicks reached the button.
    int Clicks() const;
    // The keys typed into it with Ctrl held, in order: "Ctrl+1 Ctrl+3".
    std::wstring KeysTyped() const;

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    HWND window_ = nullptr;
    HWND button_ = nullptr;
};

} // namespace support
