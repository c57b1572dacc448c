// Whether the screen shows the user's desktop: not while the session is
// locked, nor while the display is off. The window given receives the
// system's notifications of both for as long as the object lives and hands
// its messages to OnSessionChange and OnPowerBroadcast.
#pragma once

#include <windows.h>

namespace capture {

class ScreenAvailability {
public:
    explicit ScreenAvailability(HWND window);
    ~ScreenAvailability();
    ScreenAvailability(const ScreenAvailability&) = delete;
    ScreenAvailability& operator=(const ScreenAvailability&) = delete;

    // Gives the registrations back now (the window is going); harmless when done already.
    void Release();

    bool Available() const { return !locked_ && !displayOff_; }
    bool Locked() const { return locked_; }
    bool DisplayOff() const { return displayOff_; }

    // WM_WTSSESSION_CHANGE's reason; true when availability changed.
    bool OnSessionChange(WPARAM reason);
    // WM_POWERBROADCAST's event and data; true when availability changed.
    bool OnPowerBroadcast(WPARAM event, LPARAM data);

private:
    HWND window_;
    bool sessionRegistered_ = false;
    HPOWERNOTIFY displayNotification_ = nullptr;
    bool locked_ = false;
    bool displayOff_ = false;
};

} // namespace capture
