// Reading windows, also another program's, as a user sees them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace support {

constexpr DWORD kMessageBoxWait = 8000;

// The top-level windows of a process; only visible ones unless asked.
std::vector<HWND> WindowsOf(DWORD processId, bool includeHidden = false);

std::wstring WindowCaption(HWND window);

// A point of a window's client area, on the screen.
POINT ScreenPoint(HWND window, POINT client);

// Where a window stands on the screen, frame included.
RECT WindowRectOf(HWND window);
bool SameRect(const RECT& a, const RECT& b);

// Whether a check box or radio button is checked; by caption, the button of
// that caption among the window's children (false when there is none).
bool IsChecked(HWND button);
bool IsChecked(HWND window, const wchar_t* caption);
std::wstring WindowClass(HWND window);

// Returns once the window's thread answers a message, which it does only from
// its message loop: what it did before it began waiting for input is done.
// Sent messages go ahead of queued input, so input sent just before may
// still be waiting.
bool Answers(HWND window, DWORD timeoutMs = kMessageBoxWait);

// The text of a message box (of the system's class "#32770").
std::wstring MessageBoxText(HWND box);
// Presses the box's first button (OK) and waits until the box has gone.
bool PressOk(HWND box, DWORD timeoutMs = kMessageBoxWait);

// Writes name into a file dialog's name box and presses its Save (or Open)
// button, by message: the dialog is the system's, and keys typed while it
// settles can be lost. False when the dialog has no name box.
bool EnterFileName(HWND dialog, const std::wstring& name);

// Makes this process aware of each monitor's DPI, as Snapora is, so that it
// reads windows and the screen in physical pixels (left unaware, it would be
// given figures scaled down to 96 DPI); gives the system's DPI. Call it
// before the process makes any window.
int BecomeDpiAware();

// A text for a test's failure message; the tests' texts are ASCII.
std::string Narrow(const std::wstring& text);

} // namespace support
