#include "tests/support/Wait.h"

#include <utility>

namespace support {

namespace {

// The pump serves the thread that set it, whose windows it handles; a
// helper thread of a test waits by sleeping alone. Kept in a function, so
// that a program may set it while its statics are being made.
struct MessagePump {
    std::function<void()> pump;
    DWORD thread = 0;
};

MessagePump& ThePump() {
    static MessagePump pump;
    return pump;
}

void PumpIfOwn() {
    const MessagePump& pump = ThePump();
    if (pump.pump && GetCurrentThreadId() == pump.thread) pump.pump();
}

} // namespace

void SetMessagePump(std::function<void()> pump) { ThePump() = {std::move(pump), GetCurrentThreadId()}; }

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs, DWORD pollMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        PumpIfOwn();
        if (done()) return true;
        if (GetTickCount64() >= deadline) return false;
        Sleep(pollMs);
    }
}

void Pause(DWORD ms) {
    WaitUntil([] { return false; }, ms);
}

} // namespace support
