#include "ui/SaveDialog.h"

#include "ui/Error.h"

#include <commdlg.h>

#include <vector>

namespace ui {

bool SaveDialog::Execute(HWND owner) {
    // The dialog wants the filter with NUL separators and a double NUL at the end.
    std::wstring filter = Filter;
    for (wchar_t& c : filter)
        if (c == L'|') c = L'\0';
    filter.append(2, L'\0');

    std::vector<wchar_t> name(32768, L'\0');
    FileName.copy(name.data(), name.size() - 1);
    std::wstring ext = DefaultExt;
    if (!ext.empty() && ext.front() == L'.') ext.erase(0, 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(FilterIndex);
    ofn.lpstrFile = name.data();
    ofn.nMaxFile = static_cast<DWORD>(name.size());
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags =
        OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameW(&ofn)) {
        const DWORD error = CommDlgExtendedError();
        if (error != 0) throw Error(L"Cannot open the Save dialog (error " + std::to_wstring(error) + L")");
        return false;
    }
    FileName = name.data();
    FilterIndex = static_cast<int>(ofn.nFilterIndex);
    return true;
}

} // namespace ui
