#include "capture/PeriodicSchedule.h"

#include <algorithm>
#include <cmath>

namespace capture {

void PeriodicSchedule::Start(double nowMs, double periodMs) {
    startMs_ = nowMs;
    periodMs_ = std::max(periodMs, 1.0);
    nextSlot_ = 1;
}

unsigned PeriodicSchedule::DelayFrom(double nowMs) const {
    const double delay = std::ceil(Due() - nowMs);
    // Periods are signed 32-bit counts of milliseconds, so a delay always fits.
    return delay < 1 ? 1u : static_cast<unsigned>(delay);
}

long long PeriodicSchedule::TickDone(double nowMs) {
    // The first slot after now, and never the slot just run again (a timer
    // may fire a little before its time on a coarse system clock).
    const long long firstAhead = static_cast<long long>(std::floor((nowMs - startMs_) / periodMs_)) + 1;
    const long long next = std::max(nextSlot_ + 1, firstAhead);
    const long long missed = next - nextSlot_ - 1;
    nextSlot_ = next;
    return missed;
}

} // namespace capture
