// Waiting in tests: on a condition, with a generous deadline, never on the
// clock alone. A test that owns windows on its own thread (the unit tests,
// the benchmark) handles their messages while it waits; the end-to-end
// driver, whose windows live in other processes, only sleeps.
#pragma once

#include <windows.h>

#include <functional>

namespace support {

// Long enough for anything a loaded two-core machine does under Wine.
constexpr DWORD kGenerousWait = 8000;

// What a wait on the calling thread does between two looks at its
// condition, on top of sleeping: the unit tests and the benchmark handle
// their thread's messages there.
void SetMessagePump(std::function<void()> pump);

// Looks at done() until it holds or the time is up; gives its last answer.
bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = kGenerousWait, DWORD pollMs = 10);

// Handles what arrives for the given time. Only for what has no condition to
// wait on: an interval the system needs between two inputs (the double-click
// time), or a while in which something must not happen.
void Pause(DWORD ms);

} // namespace support
