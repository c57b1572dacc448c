#include "app/Tray.h"

#include "ui/Cursor.h"
#include "ui/Event.h"

#include <cwchar>
#include <iterator>

namespace app {

using capture::CaptureMethod;
using capture::kCaptureMethodCount;

std::wstring DescribePeriod(int milliseconds) {
    if (milliseconds % 3600000 == 0) return std::to_wstring(milliseconds / 3600000) + L" h";
    if (milliseconds % 60000 == 0) return std::to_wstring(milliseconds / 60000) + L" min";
    if (milliseconds % 1000 == 0) return std::to_wstring(milliseconds / 1000) + L" s";
    return std::to_wstring(milliseconds) + L" ms";
}

std::wstring PeriodicTrayTip(const std::wstring& title, int periodMs, const capture::PeriodicProgress& progress,
                             bool skippingUnchanged) {
    std::wstring tip = title + L" - every " + DescribePeriod(periodMs) + L", " + std::to_wstring(progress.written) +
                       (progress.written == 1 ? L" picture" : L" pictures");
    if (skippingUnchanged) tip += L", " + std::to_wstring(progress.skipped) + L" skipped";
    if (const auto& t = progress.lastWritten) {
        wchar_t time[16];
        swprintf(time, std::size(time), L"%02u:%02u:%02u", unsigned{t->wHour}, unsigned{t->wMinute},
                 unsigned{t->wSecond});
        tip += L", last ";
        tip += time;
    }
    return tip;
}

Tray::Tray(HWND owner, HICON icon, std::wstring title)
    : owner_(owner), title_(std::move(title)), icon_(owner, icon, title_) {
    // In CaptureMethod order; the shortcut labels are the keys in force (ShowHotKeys).
    for (int i = 0; i < kCaptureMethodCount; ++i) {
        const auto method = static_cast<CaptureMethod>(i);
        menu_.AddItem(capture::MethodCaption(method), [this, method] { OnCaptureChosen(method); });
    }
    menu_.AddSeparator();
    menu_.AddItem(L"Real Time Capture", [this] { OnStartChosen(); });
    menu_.AddItem(L"Stop Real Time Capture", [this] { OnStopChosen(); });
    menu_.AddSeparator();
    menu_.AddItem(L"Show Suspend Panel", [this] { ui::Raise(SuspendPanelShowRequested); });
    menu_.AddItem(L"Hide Suspend Panel", [this] { ui::Raise(SuspendPanelHideRequested); });
    menu_.AddItem(L"Exit", [this] { ui::Raise(ExitRequested); });
}

void Tray::ShowHotKeys(const settings::HotKeyTable& keys) {
    using settings::HotKeyCommand;
    for (int i = 0; i < kCaptureMethodCount; ++i)
        menu_.SetShortcutLabel(i, settings::KeyCombinationText(keys[i]));
    menu_.SetShortcutLabel(static_cast<int>(Item::StartPeriodic),
                           settings::KeyCombinationText(keys[static_cast<int>(HotKeyCommand::StartPeriodic)]));
    menu_.SetShortcutLabel(static_cast<int>(Item::StopPeriodic),
                           settings::KeyCombinationText(keys[static_cast<int>(HotKeyCommand::StopPeriodic)]));
}

void Tray::ClearMarks() {
    for (int i = 0; i < kCaptureMethodCount; ++i)
        menu_.SetChecked(i, false);
    menu_.SetChecked(static_cast<int>(Item::StartPeriodic), false);
}

void Tray::SetItemsEnabled(bool methodsAndStart) {
    for (int i = 0; i < kCaptureMethodCount; ++i)
        menu_.SetEnabled(i, methodsAndStart);
    menu_.SetEnabled(static_cast<int>(Item::StartPeriodic), methodsAndStart);
    menu_.SetEnabled(static_cast<int>(Item::StopPeriodic), !methodsAndStart);
}

void Tray::OnCaptureChosen(CaptureMethod method) {
    // The menu's own marks: this method alone; a running periodic capture
    // goes on, but can no longer be stopped from here.
    ClearMarks();
    menu_.SetChecked(static_cast<int>(method), true);
    menu_.SetEnabled(static_cast<int>(Item::StopPeriodic), false);
    ui::Raise(CaptureRequested, method);
}

void Tray::OnStartChosen() {
    ClearMarks();
    menu_.SetChecked(static_cast<int>(Item::StartPeriodic), true);
    SetItemsEnabled(false);
    ui::Raise(PeriodicStartRequested);
}

void Tray::OnStopChosen() {
    ui::Raise(PeriodicStopRequested);
    ClearMarks();
    SetItemsEnabled(true);
}

void Tray::ShowPeriodicProgress(std::optional<int> intervalMs, const capture::PeriodicProgress& progress,
                                bool skippingUnchanged) {
    const std::wstring tip = intervalMs ? PeriodicTrayTip(title_, *intervalMs, progress, skippingUnchanged) : title_;
    // Shown anew after every picture: only a change goes to the shell.
    if (tip != icon_.Tip()) icon_.SetTip(tip);
}

void Tray::OnIconMessage(UINT mouseMessage, CaptureMethod selected) {
    if (mouseMessage == WM_LBUTTONDOWN) {
        ui::Raise(MainWindowToggleRequested);
    } else if (mouseMessage == WM_RBUTTONDOWN) {
        // The owner in front, so that the menu closes when the user clicks elsewhere.
        SetForegroundWindow(owner_);
        for (int i = 0; i < kCaptureMethodCount; ++i)
            menu_.SetChecked(i, i == static_cast<int>(selected));
        menu_.Popup(owner_, ui::CursorPosition());
    }
}

} // namespace app
