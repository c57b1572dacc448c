// The end-to-end driver: runs the real Snapora.exe from a fresh folder and
// works it as a user would, with real input, reading what a user would see.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

// Polls until done() holds or the time is up; returns done()'s last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs = 50);

// The folder that holds the test program, Snapora.exe and hook.dll.
std::wstring BuildFolder();

class SnaporaApp {
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

    // Copies Snapora.exe (and hook.dll) into a fresh temporary folder and starts
    // it there, or starts it in the given programFolder.
    explicit SnaporaApp(LaunchArgs args);
    SnaporaApp() : SnaporaApp(LaunchArgs{}) {}
    // Ends the program if it still runs and removes the folder it made.
    ~SnaporaApp();
    SnaporaApp(const SnaporaApp&) = delete;
    SnaporaApp& operator=(const SnaporaApp&) = delete;

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

    // Starts another copy of the program from the same folder and gives its
    // exit code, or nothing if it did not end within the time.
    std::optional<DWORD> RunAnotherCopy(DWORD timeoutMs) const;

    // Asks the main window to close, as its close button does, and waits for
    // the process to end; gives the exit code, or nothing if it did not end.
    std::optional<DWORD> Close(DWORD timeoutMs = 10000);

private:
    std::wstring folder_;
    bool ownsFolder_ = true;
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

// Keyboard: presses the keys in order, then releases them in reverse order.
void PressKeys(std::initializer_list<WORD> keys);

// Mouse, in screen pixels.
enum class Button { Left, Right, Middle };
void MoveMouse(POINT to);
void MouseDown(Button button = Button::Left);
void MouseUp(Button button = Button::Left);
void Click(POINT at, Button button = Button::Left);
void DoubleClick(POINT at);
// Presses at from, moves in steps to to, and releases there.
void Drag(POINT from, POINT to, Button button = Button::Left, int steps = 10);

// A picture read back from the system, pixels as 0x00RRGGBB, rows top down.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The bitmap on the clipboard (CF_DIB), if there is one.
std::optional<Picture> ReadClipboardBitmap();
void ClearClipboard();

// What the screen shows in the rectangle.
Picture GrabScreen(const RECT& area);
std::uint32_t ScreenPixel(int x, int y);

// Names of the files in folder matching pattern (e.g. L"*.jpg").
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern = L"*");

std::wstring WindowCaption(HWND window);
std::wstring WindowClass(HWND window);

} // namespace e2e
