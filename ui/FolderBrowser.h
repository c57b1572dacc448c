// The platform's folder browser.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

// Shows the folder browser modally over owner, with title as its prompt, and
// gives back the full path of the folder the user chose, or an empty text
// when the user cancelled. Only file-system folders can be confirmed. A
// non-empty initialFolder is selected when the browser opens; an empty one
// leaves the browser at its own start (the desktop).
std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder);

} // namespace ui
