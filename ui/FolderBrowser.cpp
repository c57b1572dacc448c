#include "ui/FolderBrowser.h"

#include <objbase.h>
#include <shlobj.h>

#include <vector>

namespace ui {

namespace {

// The folder browser is built on shell objects, which need COM on the
// calling thread. The scope joins COM as a single-threaded apartment (as a
// window thread must) and leaves it again only when it was the one to join.
class ComScope {
public:
    ComScope() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE)) {}
    ~ComScope() {
        // S_FALSE (already joined) must be balanced as well; RPC_E_CHANGED_MODE
        // (joined otherwise) must not.
        if (SUCCEEDED(result_)) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;

private:
    HRESULT result_;
};

int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM, LPARAM data) {
    // Once the browser is up, it is told to select the initial folder, given
    // as a path (wParam TRUE) rather than an item list.
    const auto* folder = reinterpret_cast<const std::wstring*>(data);
    if (message == BFFM_INITIALIZED && folder && !folder->empty())
        SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(folder->c_str()));
    return 0;
}

} // namespace

std::wstring BrowseForFolder(HWND owner, const std::wstring& title, const std::wstring& initialFolder) {
    ComScope com;
    wchar_t displayName[MAX_PATH + 1] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr; // the desktop
    info.pszDisplayName = displayName;
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = &SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(&initialFolder);
    PIDLIST_ABSOLUTE item = SHBrowseForFolderW(&info);
    if (!item) return L"";
    // A path can be longer than MAX_PATH; the call that takes a buffer size
    // is tried with a growing buffer.
    std::wstring path;
    for (DWORD size = MAX_PATH + 1; size <= 32768; size *= 4) {
        std::vector<wchar_t> buffer(size);
        if (SHGetPathFromIDListEx(item, buffer.data(), size, GPFIDL_DEFAULT)) {
            path = buffer.data();
            break;
        }
    }
    CoTaskMemFree(item);
    return path;
}

} // namespace ui
