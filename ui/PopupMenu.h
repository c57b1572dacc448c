// A pop-up menu whose items run handlers. Opened at a screen point, it is
// modal; the chosen item's handler runs after the menu has closed.
#pragma once

#include "ui/Handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace ui {

class PopupMenu {
public:
    PopupMenu();
    PopupMenu(const PopupMenu&) = delete;
    PopupMenu& operator=(const PopupMenu&) = delete;

    // Adds an item and gives its index among the items (separators count).
    // The shortcut is only a label printed at the right edge of the item.
    int AddItem(const std::wstring& caption, std::function<void()> onClick, const std::wstring& shortcut = {});
    int AddSeparator();

    void SetChecked(int item, bool checked);
    bool Checked(int item) const;
    void SetEnabled(int item, bool enabled);
    bool Enabled(int item) const;

    // Shows the menu with its top-left corner at a screen point, for owner
    // (which should be the foreground window, so that a click elsewhere
    // closes the menu). Either mouse button chooses an item.
    void Popup(HWND owner, POINT at);
    // Runs an item's handler as a choice in the menu would.
    void Choose(int item);

    HMENU Handle() const { return menu_.Get(); }

private:
    UniqueMenu menu_;
    std::vector<std::function<void()>> handlers_;
};

} // namespace ui
