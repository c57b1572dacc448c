#include "tests/support/Input.h"

#include "tests/support/Wait.h"

#include <iterator>

namespace support {

namespace {

DWORD ButtonFlag(Button button, bool up) {
    switch (button) {
    case Button::Right:
        return up ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_RIGHTDOWN;
    case Button::Middle:
        return up ? MOUSEEVENTF_MIDDLEUP : MOUSEEVENTF_MIDDLEDOWN;
    default:
        return up ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_LEFTDOWN;
    }
}

// Gives the receiving program a moment to take the input from its queue, as
// a user's hand never presses and releases in the same instant.
void Settle() { Pause(30); }

// The same moment while a button is held. It handles no messages: a press
// on this thread's own window may start a loop (the close box's, a drag's)
// that only the release ends, and the release is still to come.
void Hold() { Sleep(30); }

} // namespace

void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    // With its scan code, as a keyboard sends it: some controls (the hotkey
    // field under Wine) read the key from the scan code alone.
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void PressKeys(std::initializer_list<WORD> keys) {
    for (WORD key : keys)
        SendKey(key, false);
    for (auto it = std::rbegin(keys); it != std::rend(keys); ++it)
        SendKey(*it, true);
    Settle();
}

// Without a pause after it, so that the benchmark times the key from the
// moment it is typed.
void TypeCaptureKey() {
    SendKey(VK_CONTROL, false), SendKey('D', false), SendKey('D', true), SendKey(VK_CONTROL, true);
}

void SendMouse(DWORD flags, POINT to) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        // Absolute coordinates span the virtual screen (every monitor, some
        // at negative coordinates) and map to pixels as dx * width / 65536,
        // rounded down: the smallest value that reaches the pixel lands on it
        // exactly.
        const LONGLONG x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
        const LONGLONG w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
        input.mi.dx = static_cast<LONG>(((to.x - x) * 65536LL + w - 1) / w);
        input.mi.dy = static_cast<LONG>(((to.y - y) * 65536LL + h - 1) / h);
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    }
    SendInput(1, &input, sizeof input);
}

bool CursorAt(POINT at) {
    POINT now{};
    GetCursorPos(&now);
    return now.x == at.x && now.y == at.y;
}

bool MoveMouse(POINT to) {
    SendMouse(MOUSEEVENTF_MOVE, to);
    // Wine moves the cursor asynchronously; should the mapping be off by a
    // pixel, the cursor is put exactly where asked.
    const bool there = WaitUntil([&] { return CursorAt(to); }, 1000) ||
                       (SetCursorPos(to.x, to.y), WaitUntil([&] { return CursorAt(to); }));
    Settle();
    return there;
}

bool RestMouse(POINT at) {
    int still = 0;
    return WaitUntil(
        [&] {
            if (CursorAt(at)) return ++still >= 5;
            still = 0;
            MoveMouse(at);
            return false;
        },
        kGenerousWait, 100);
}

void MouseDown(Button button) {
    SendMouse(ButtonFlag(button, false));
    Hold();
}

void MouseUp(Button button) {
    SendMouse(ButtonFlag(button, true));
    Settle();
}

// Presses and releases carry their own position. Under Wine each cursor move
// warps the X pointer, and the process whose window lies under it reports the
// new place back as a mouse move when it next reads its X events. That report
// can come after the driver has moved on and put the cursor back for a moment;
// a press without a position of its own would land there.
bool Click(POINT at, Button button) {
    if (!MoveMouse(at)) return false;
    SendMouse(MOUSEEVENTF_MOVE | ButtonFlag(button, false), at);
    Hold();
    SendMouse(MOUSEEVENTF_MOVE | ButtonFlag(button, true), at);
    Settle();
    return true;
}

bool DoubleClick(POINT at) {
    if (!MoveMouse(at)) return false;
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at);
    }
    Settle();
    return true;
}

void AwaitDoubleClickTime() { Pause(GetDoubleClickTime() + 100); }

void Drag(POINT from, POINT to, Button button, int steps) {
    // A late report of where the cursor was before would join the drag as
    // one of its moves: the cursor rests at the start before the press.
    RestMouse(from);
    SendMouse(MOUSEEVENTF_MOVE | ButtonFlag(button, false), from);
    Hold();
    for (int i = 1; i <= steps; ++i)
        MoveMouse({from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps});
    SendMouse(MOUSEEVENTF_MOVE | ButtonFlag(button, true), to);
    Settle();
}

} // namespace support
