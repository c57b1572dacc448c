// The seven system-wide hotkeys, each registered under an identifier taken
// from a global atom of its own, for as long as the object lives.
#pragma once

#include "capture/CaptureMethod.h"

#include <windows.h>

#include <array>
#include <optional>

namespace app {

// What a hotkey asks for: Ctrl+1 to Ctrl+5 a capture with a method, Ctrl+R
// and Ctrl+S the start and the stop of periodic capture.
enum class HotKeyAction { Capture, StartPeriodic, StopPeriodic };
struct HotKey {
    HotKeyAction action;
    capture::CaptureMethod method = capture::CaptureMethod::FullScreen; // for Capture
    bool operator==(const HotKey&) const = default;
};

class GlobalHotKeys {
public:
    static constexpr int kCount = 7;
    // The identifier of a row whose registration failed.
    static constexpr int kNone = -1;

    // Adds the atoms and registers the hotkeys for window. A combination that
    // another program holds already is silently missing; the rest still work.
    explicit GlobalHotKeys(HWND window);
    // Unregisters the hotkeys and deletes their atoms.
    ~GlobalHotKeys();
    GlobalHotKeys(const GlobalHotKeys&) = delete;
    GlobalHotKeys& operator=(const GlobalHotKeys&) = delete;

    // Same as the destructor, at once; harmless when done already.
    void Release();

    // The identifiers in registration order (kNone where no atom could be added).
    const std::array<int, kCount>& Ids() const { return ids_; }

    // The hotkey a WM_HOTKEY message stands for, matched on its modifiers and
    // key (LPARAM) rather than on its identifier.
    static std::optional<HotKey> Match(LPARAM lParam);

private:
    HWND window_;
    std::array<int, kCount> ids_;
};

} // namespace app
