// The five ways to capture. The main window shows the selected one as its
// checked radio button; the hotkeys, the tray menu and the suspend panel
// select one and capture with it.
#pragma once

namespace capture {

enum class CaptureMethod { FullScreen, ActiveWindow, Object, SelectedRegion, FixedRegion };

inline constexpr int kCaptureMethodCount = 5;

// The method's name as the main window's radio buttons and the tray menu show it.
constexpr const wchar_t* MethodCaption(CaptureMethod method) {
    constexpr const wchar_t* kCaptions[kCaptureMethodCount] = {L"Full Screen", L"Active Window", L"Object",
                                                               L"Selected Region", L"Fixed Region"};
    return kCaptions[static_cast<int>(method)];
}

} // namespace capture
