// When periodic capture ticks: at start + k x period for k = 1, 2, ..., on a
// clock of milliseconds that only goes forward. A tick that starts late or
// runs long does not move the later ones; the slots that passed while a tick
// ran are missed, never made up with ticks run back to back.
#pragma once

namespace capture {

class PeriodicSchedule {
public:
    // The first slot is one full period after now.
    void Start(double nowMs, double periodMs);

    // The time of the next slot.
    double Due() const { return startMs_ + static_cast<double>(nextSlot_) * periodMs_; }
    // Whole milliseconds from now until the next slot, at least 1, so that a
    // timer set for them fires no earlier than the slot.
    unsigned DelayFrom(double nowMs) const;
    // True when the next slot has come.
    bool IsDue(double nowMs) const { return nowMs >= Due(); }

    // After the tick of the next slot has run, until now: the next slot
    // becomes the first one still ahead. Gives how many slots were missed.
    long long TickDone(double nowMs);

    long long NextSlot() const { return nextSlot_; }

private:
    double startMs_ = 0;
    double periodMs_ = 1;
    long long nextSlot_ = 1;
};

} // namespace capture
