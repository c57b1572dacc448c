#include "ui/ToolTip.h"

#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/HostWindow.h"
#include "ui/NativeControls.h"

namespace ui {

ToolTip::ToolTip(const HostWindow& host) : host_(host.Handle()) {
    // The tooltip class lives in comctl32 and must be registered before the
    // first tooltip is made; asking twice does no harm.
    RegisterCommonControlClasses(ICC_BAR_CLASSES);
    // TTS_ALWAYSTIP: by default a tooltip shows only while its owner's window
    // is active. TTS_NOPREFIX: an ampersand in a hint is a plain character.
    window_.Reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, host_, nullptr,
                                  App().Module(), nullptr));
    if (!window_) throw Error(L"Cannot create a tooltip: " + SystemErrorText(GetLastError()));
}

void ToolTip::Add(const Control& control, const std::wstring& text) {
    if (text.empty()) return;
    // The first size of the structure that every comctl32 version accepts;
    // the fields added later are not used here.
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = host_;
    tool.uId = nextId_++;
    tool.rect = control.Bounds();
    // TTF_SUBCLASS: the tooltip sees the host's mouse messages by itself, so
    // the host relays nothing. The text is copied by the control.
    tool.uFlags = TTF_SUBCLASS;
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    if (!SendMessageW(window_.Get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool)))
        throw Error(L"Cannot add a tooltip");
}

} // namespace ui
