// The program's icon in the notification area, present for as long as the
// object lives. Mouse messages on it reach the owner window as kCallbackMessage.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <string>

namespace app {

class TrayIcon {
public:
    // The callback message; its LPARAM carries the mouse message.
    static constexpr UINT kCallbackMessage = WM_USER + 101;

    TrayIcon(HWND owner, HICON icon, const std::wstring& tip);
    ~TrayIcon();
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Changes the tip; a tip of more than 127 characters is cut short.
    void SetTip(const std::wstring& tip);
    const std::wstring& Tip() const { return tip_; }
    // Adds the icon again, after the shell has restarted and lost it.
    void Restore();
    // Removes the icon at once; harmless when done already.
    void Remove();

private:
    NOTIFYICONDATAW Data() const;

    HWND owner_;
    HICON icon_;
    std::wstring tip_;
    bool added_ = false;
};

} // namespace app
