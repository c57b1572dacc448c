// The five ways to capture. The main window shows the selected one as its
// checked radio button; the hotkeys, the tray menu and the suspend panel
// select one and capture with it.
#pragma once

namespace capture {

enum class CaptureMethod { FullScreen, ActiveWindow, Object, SelectedRegion, FixedRegion };

inline constexpr int kCaptureMethodCount = 5;

} // namespace capture
