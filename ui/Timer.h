// A timer owned by an object: enabled or not, with an interval in
// milliseconds and a handler. Changing either restarts the count. An interval
// of 0 never fires, whatever Enabled says.
#pragma once

#include <windows.h>

#include <functional>

namespace ui {

class Timer {
public:
    explicit Timer(UINT interval = 1000, bool enabled = true);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    UINT Interval() const { return interval_; }
    void SetInterval(UINT interval);
    // Whether a system timer is counting for this object now.
    bool Running() const { return id_ != 0; }

    // Runs on the GUI thread from the message loop; an exception it throws is
    // shown in the error box and goes no further.
    std::function<void()> OnTimer;

private:
    void Update();
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept;

    UINT interval_;
    bool enabled_;
    UINT_PTR id_ = 0;
};

} // namespace ui
