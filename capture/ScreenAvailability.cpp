#include "capture/ScreenAvailability.h"

#include <wtsapi32.h>

#include <cstring>

namespace capture {

namespace {

// GUID_CONSOLE_DISPLAY_STATE: the display of the console session, whose data
// is a DWORD: 0 off, 1 on, 2 dimmed. Spelt out here, since the headers only
// declare it.
constexpr GUID kConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};

} // namespace

ScreenAvailability::ScreenAvailability(HWND window) : window_(window) {
    // Either may be missing (Wine stubs the display notification): then that
    // state simply never changes.
    sessionRegistered_ = WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
    displayNotification_ =
        RegisterPowerSettingNotification(window_, &kConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
}

ScreenAvailability::~ScreenAvailability() { Release(); }

void ScreenAvailability::Release() {
    if (displayNotification_) UnregisterPowerSettingNotification(displayNotification_);
    if (sessionRegistered_) WTSUnRegisterSessionNotification(window_);
    displayNotification_ = nullptr;
    sessionRegistered_ = false;
}

bool ScreenAvailability::OnSessionChange(WPARAM reason) {
    const bool before = Available();
    if (reason == WTS_SESSION_LOCK)
        locked_ = true;
    else if (reason == WTS_SESSION_UNLOCK)
        locked_ = false;
    return Available() != before;
}

bool ScreenAvailability::OnPowerBroadcast(WPARAM event, LPARAM data) {
    if (event != PBT_POWERSETTINGCHANGE || data == 0) return false;
    const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
    if (std::memcmp(&setting->PowerSetting, &kConsoleDisplayState, sizeof(GUID)) != 0 ||
        setting->DataLength < sizeof(DWORD))
        return false;
    DWORD state = 0;
    std::memcpy(&state, setting->Data, sizeof state);
    const bool before = Available();
    // A dimmed display still shows the desktop.
    displayOff_ = state == 0;
    return Available() != before;
}

} // namespace capture
