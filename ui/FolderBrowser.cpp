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

// What the browser's callback keeps while the browser is open: the folder
// to show first, and whether the browser has gone there.
struct InitialSelection {
    const std::wstring& folder;
    bool reached = false;
    int attempts = 0;
};

void AskForInitialFolder(HWND browser, const InitialSelection& selection) {
    // Given as a path (wParam TRUE) rather than an item list.
    SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(selection.folder.c_str()));
}

int CALLBACK SelectInitialFolder(HWND browser, UINT message, LPARAM itemOrError, LPARAM data) {
    auto* selection = reinterpret_cast<InitialSelection*>(data);
    if (!selection || selection->folder.empty()) return 0;
    if (message == BFFM_INITIALIZED) {
        AskForInitialFolder(browser, *selection);
        // The first browser of a session can still be filling its tree and
        // let the request go: it is asked again a few times until it has
        // gone there. The timer's id is the selection, which lives as long
        // as the browser.
        SetTimer(browser, reinterpret_cast<UINT_PTR>(selection), 200, [](HWND window, UINT, UINT_PTR id, DWORD) {
            auto* s = reinterpret_cast<InitialSelection*>(id);
            if (s->reached || ++s->attempts > 10)
                KillTimer(window, id);
            else
                AskForInitialFolder(window, *s);
        });
    } else if (message == BFFM_SELCHANGED && !selection->reached) {
        wchar_t path[MAX_PATH + 1] = {};
        if (SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(itemOrError), path))
            selection->reached = lstrcmpiW(path, selection->folder.c_str()) == 0;
    }
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
    InitialSelection selection{initialFolder};
    info.lpfn = &SelectInitialFolder;
    info.lParam = reinterpret_cast<LPARAM>(&selection);
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
