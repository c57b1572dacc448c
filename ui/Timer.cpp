#include "ui/Timer.h"

#include "ui/Application.h"

#include <map>

namespace ui {

namespace {

// Thread timers (no window) are told apart only by the identifier the system
// gave them, so the callback finds its object here.
std::map<UINT_PTR, Timer*>& LiveTimers() {
    static std::map<UINT_PTR, Timer*> timers;
    return timers;
}

} // namespace

Timer::Timer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled) { Update(); }

Timer::~Timer() {
    enabled_ = false;
    Update();
}

void Timer::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Update();
}

void Timer::SetInterval(UINT interval) {
    if (interval_ == interval) return;
    interval_ = interval;
    Update();
}

void Timer::Update() {
    if (id_ != 0) {
        KillTimer(nullptr, id_);
        LiveTimers().erase(id_);
        id_ = 0;
    }
    // The system would round 0 up to its minimum period and fire constantly;
    // an interval of 0 means the timer does not run at all.
    if (!enabled_ || interval_ == 0) return;
    id_ = SetTimer(nullptr, 0, interval_, &Timer::Tick);
    if (id_ != 0) LiveTimers()[id_] = this;
}

void CALLBACK Timer::Tick(HWND, UINT, UINT_PTR id, DWORD) noexcept {
    const auto found = LiveTimers().find(id);
    if (found == LiveTimers().end()) return;
    Timer* timer = found->second;
    App().Guard([&] {
        if (timer->OnTimer) timer->OnTimer();
    });
}

} // namespace ui
