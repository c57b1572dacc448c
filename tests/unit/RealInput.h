// Real input for in-process tests: SendInput puts the events in the system's
// queue, and the test pumps its own messages (through the application's loop,
// so the message filter sees them) until the effect shows.
#pragma once

#include "ui/Application.h"

#include <windows.h>

#include <functional>

namespace realinput {

// Handles the messages that arrive until done() holds or a generous timeout
// passes; real input reaches a window only through the queue.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 4000) {
    for (int waited = 0; waited < timeoutMs; waited += 5) {
        ui::App().ProcessMessages();
        if (done()) return true;
        Sleep(5);
    }
    return false;
}

// Handles whatever arrives during the next ms milliseconds.
inline void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

inline void SendMouse(DWORD flags, POINT to = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        // Absolute coordinates map to pixels as dx * width / 65536, rounded
        // down: the smallest value that reaches the pixel lands on it exactly.
        const LONGLONG w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
        input.mi.dx = static_cast<LONG>((to.x * 65536LL + w - 1) / w);
        input.mi.dy = static_cast<LONG>((to.y * 65536LL + h - 1) / h);
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
    }
    SendInput(1, &input, sizeof input);
}

inline void SendKey(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

// Ctrl+D, the capture key, as typed.
inline void TypeCaptureKey() {
    SendKey(VK_CONTROL, false), SendKey('D', false), SendKey('D', true), SendKey(VK_CONTROL, true);
}

inline bool CursorAt(POINT at) {
    POINT now{};
    GetCursorPos(&now);
    return now.x == at.x && now.y == at.y;
}

// Moves the mouse to a screen point and waits until the cursor is there.
inline bool MoveTo(POINT at) {
    SendMouse(MOUSEEVENTF_MOVE, at);
    return PumpUntil([&] { return CursorAt(at); });
}

// Presses and releases carry their own position: under Wine a late report of
// an earlier pointer position can put the cursor back for a moment, and a
// press without a position of its own would land there.
inline bool Click(POINT at) {
    if (!MoveTo(at)) return false;
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at);
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at);
    PumpFor(100);
    return true;
}

inline bool DoubleClick(POINT at) {
    if (!MoveTo(at)) return false;
    for (int i = 0; i < 2; ++i) {
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at);
    }
    PumpFor(100);
    return true;
}

inline COLORREF ScreenPixel(POINT at) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, at.x, at.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

} // namespace realinput
