#include "app/TrayIcon.h"

#include <shellapi.h>

#include <algorithm>

namespace app {

TrayIcon::TrayIcon(HWND owner, HICON icon, const std::wstring& tip) : owner_(owner), icon_(icon), tip_(tip) {
    Restore();
}

TrayIcon::~TrayIcon() { Remove(); }

NOTIFYICONDATAW TrayIcon::Data() const {
    NOTIFYICONDATAW data{};
    // The whole record, not its first version: only the later versions carry
    // a tip of 128 characters rather than 64, which periodic capture's
    // progress needs.
    data.cbSize = sizeof data;
    data.hWnd = owner_;
    data.uID = 1;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kCallbackMessage;
    data.hIcon = icon_;
    const size_t length = std::min(tip_.size(), std::size(data.szTip) - 1);
    std::copy_n(tip_.c_str(), length, data.szTip);
    return data;
}

void TrayIcon::Restore() {
    NOTIFYICONDATAW data = Data();
    // A shell that restarted has forgotten the icon; one that did not still
    // has it, and then only the modification goes through.
    if (!Shell_NotifyIconW(NIM_ADD, &data)) Shell_NotifyIconW(NIM_MODIFY, &data);
    added_ = true;
}

void TrayIcon::SetTip(const std::wstring& tip) {
    tip_ = tip;
    if (!added_) return;
    NOTIFYICONDATAW data = Data();
    Shell_NotifyIconW(NIM_MODIFY, &data);
}

void TrayIcon::Remove() {
    if (!added_) return;
    NOTIFYICONDATAW data = Data();
    Shell_NotifyIconW(NIM_DELETE, &data);
    added_ = false;
}

} // namespace app
