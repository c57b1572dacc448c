// The file Save dialog, remembering its last file name, file type and default
// extension between uses.
#pragma once

#include <windows.h>

#include <string>

namespace ui {

class SaveDialog {
public:
    // "Name|*.ext|Name|*.ext" as in the layout description.
    std::wstring Filter;
    // Index of the selected file type, 1-based as the dialog counts.
    int FilterIndex = 1;
    // Appended to a name typed without an extension; with or without the dot.
    std::wstring DefaultExt;
    std::wstring FileName;
    std::wstring Title;

    // Runs the dialog modally. True when the user chose a file (FileName then
    // holds its full path, FilterIndex the type chosen); false on cancel.
    bool Execute(HWND owner);
};

} // namespace ui
