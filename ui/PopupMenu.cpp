#include "ui/PopupMenu.h"

#include "ui/Error.h"

#include <cassert>

namespace ui {

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
    if (!menu_) throw Error(L"Cannot create a menu: " + SystemErrorText(GetLastError()));
}

namespace {

// A tab puts the rest of the text in the menu's right-aligned column.
std::wstring ItemText(const std::wstring& caption, const std::wstring& shortcutLabel) {
    return shortcutLabel.empty() ? caption : caption + L'\t' + shortcutLabel;
}

// The item's whole text: its caption, and its shortcut label after a tab.
std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, static_cast<int>(std::size(text)), MF_BYPOSITION);
    return text;
}

} // namespace

int PopupMenu::AddItem(const std::wstring& caption, std::function<void()> onClick, const std::wstring& shortcutLabel) {
    const int position = Count();
    const std::wstring text = ItemText(caption, shortcutLabel);
    if (!AppendMenuW(menu_.Get(), MF_STRING, static_cast<UINT_PTR>(position) + 1, text.c_str()))
        throw Error(L"Cannot add a menu item: " + SystemErrorText(GetLastError()));
    handlers_.push_back(std::move(onClick));
    return position;
}

void PopupMenu::AddSeparator() {
    const int position = Count();
    if (!AppendMenuW(menu_.Get(), MF_SEPARATOR, static_cast<UINT_PTR>(position) + 1, nullptr))
        throw Error(L"Cannot add a menu separator: " + SystemErrorText(GetLastError()));
    handlers_.emplace_back();
}

int PopupMenu::Count() const { return GetMenuItemCount(menu_.Get()); }

std::wstring PopupMenu::Caption(int position) const {
    const std::wstring text = MenuText(menu_.Get(), position);
    return text.substr(0, text.find(L'\t'));
}

std::wstring PopupMenu::ShortcutLabel(int position) const {
    const std::wstring text = MenuText(menu_.Get(), position);
    const size_t tab = text.find(L'\t');
    return tab == std::wstring::npos ? std::wstring() : text.substr(tab + 1);
}

void PopupMenu::SetShortcutLabel(int position, const std::wstring& shortcutLabel) {
    std::wstring text = ItemText(Caption(position), shortcutLabel);
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING;
    item.dwTypeData = text.data();
    SetMenuItemInfoW(menu_.Get(), static_cast<UINT>(position), TRUE, &item);
}

bool PopupMenu::IsSeparator(int position) const {
    return (GetMenuState(menu_.Get(), static_cast<UINT>(position), MF_BYPOSITION) & MF_SEPARATOR) != 0;
}

bool PopupMenu::Checked(int position) const {
    return (GetMenuState(menu_.Get(), static_cast<UINT>(position), MF_BYPOSITION) & MF_CHECKED) != 0;
}

void PopupMenu::SetChecked(int position, bool checked) {
    CheckMenuItem(menu_.Get(), static_cast<UINT>(position), MF_BYPOSITION | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool PopupMenu::Enabled(int position) const {
    return (GetMenuState(menu_.Get(), static_cast<UINT>(position), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)) == 0;
}

void PopupMenu::SetEnabled(int position, bool enabled) {
    EnableMenuItem(menu_.Get(), static_cast<UINT>(position), MF_BYPOSITION | (enabled ? MF_ENABLED : MF_GRAYED));
}

int PopupMenu::Track(HWND owner, POINT screen) const {
    // TPM_RETURNCMD hands the choice back instead of posting WM_COMMAND, so
    // the handler runs here, after the menu's loop has ended and the menu is
    // gone from the screen.
    const UINT flags = TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY;
    const int command = static_cast<int>(TrackPopupMenuEx(menu_.Get(), flags, screen.x, screen.y, owner, nullptr));
    // A menu whose owner was brought to the foreground to open it (a tray
    // menu) can close at once the next time it opens unless the owner's
    // thread takes a message after the menu; WM_NULL means nothing to it.
    PostMessageW(owner, WM_NULL, 0, 0);
    return command - 1;
}

void PopupMenu::Choose(int position) const {
    assert(position >= 0 && position < static_cast<int>(handlers_.size()));
    // A greyed item cannot be chosen in the menu, nor this way.
    if (handlers_[position] && Enabled(position)) handlers_[position]();
}

bool PopupMenu::Popup(HWND owner, POINT screen) const {
    const int chosen = Track(owner, screen);
    if (chosen < 0) return false;
    Choose(chosen);
    return true;
}

} // namespace ui
