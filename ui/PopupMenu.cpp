#include "ui/PopupMenu.h"

#include "ui/Application.h"

namespace ui {

namespace {

// Command identifiers are item indexes plus one: TrackPopupMenu answers 0
// for a menu closed without a choice.
UINT CommandOf(int item) { return static_cast<UINT>(item + 1); }

} // namespace

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {}

int PopupMenu::AddItem(const std::wstring& caption, std::function<void()> onClick, const std::wstring& shortcut) {
    const int item = static_cast<int>(handlers_.size());
    const std::wstring text = shortcut.empty() ? caption : caption + L"\t" + shortcut;
    AppendMenuW(menu_.Get(), MF_STRING, CommandOf(item), text.c_str());
    handlers_.push_back(std::move(onClick));
    return item;
}

int PopupMenu::AddSeparator() {
    const int item = static_cast<int>(handlers_.size());
    AppendMenuW(menu_.Get(), MF_SEPARATOR, 0, nullptr);
    handlers_.emplace_back();
    return item;
}

void PopupMenu::SetChecked(int item, bool checked) {
    CheckMenuItem(menu_.Get(), static_cast<UINT>(item), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::Checked(int item) const {
    return (GetMenuState(menu_.Get(), static_cast<UINT>(item), MF_BYPOSITION) & MF_CHECKED) != 0;
}

void PopupMenu::SetEnabled(int item, bool enabled) {
    EnableMenuItem(menu_.Get(), static_cast<UINT>(item), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

bool PopupMenu::Enabled(int item) const {
    return (GetMenuState(menu_.Get(), static_cast<UINT>(item), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void PopupMenu::Popup(HWND owner, POINT at) {
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu_.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY, at.x,
                       at.y, 0, owner, nullptr));
    // A menu opened for a notification icon must see its owner get a message
    // afterwards, or it may not close properly the next time.
    PostMessageW(owner, WM_NULL, 0, 0);
    if (command != 0) Choose(static_cast<int>(command) - 1);
}

void PopupMenu::Choose(int item) {
    if (item < 0 || item >= static_cast<int>(handlers_.size()) || !handlers_[item] || !Enabled(item)) return;
    handlers_[item]();
}

} // namespace ui
