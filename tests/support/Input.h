// Real input, as a user gives it: SendInput puts the events in the system's
// queue, from which the window under the pointer or in front takes them.
#pragma once

#include <windows.h>

#include <initializer_list>

namespace support {

// Keyboard: one key down or up; keys pressed in order and released in
// reverse order; Ctrl+D, the capture key.
void SendKey(WORD key, bool up);
void PressKeys(std::initializer_list<WORD> keys);
void TypeCaptureKey();

// One mouse event as it is; with MOUSEEVENTF_MOVE among the flags it
// carries the screen pixel to.
void SendMouse(DWORD flags, POINT to = {});

// Mouse, in screen pixels. Moves wait until the cursor is there.
enum class Button { Left, Right, Middle };
bool CursorAt(POINT at);
bool MoveMouse(POINT to);
// Moves the pointer and waits until it has rested there a moment: on a
// loaded machine Wine can still apply an earlier position that the X server
// reports back late, and the pointer is put back where it was asked.
bool RestMouse(POINT at);
void MouseDown(Button button = Button::Left);
void MouseUp(Button button = Button::Left);
bool Click(POINT at, Button button = Button::Left);
bool DoubleClick(POINT at);
// Waits out the double-click time, so that the next press at the same place
// is a click of its own and not the second half of a double-click.
void AwaitDoubleClickTime();
// Presses at from, moves in steps to to, and releases there. The moves wait
// for the cursor, handling this thread's messages: for other programs' windows.
void Drag(POINT from, POINT to, Button button = Button::Left, int steps = 10);

} // namespace support
