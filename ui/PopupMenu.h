// A pop-up menu owned by a window: items with a caption, an optional shortcut
// label and a handler, separators and check marks. Opening it waits until the
// menu closes; the chosen item's handler runs after that, never inside the
// menu's own loop.
#pragma once

#include "ui/Handles.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class PopupMenu {
public:
    PopupMenu();

    // Adds an item at the end and gives its position. The shortcut label is
    // only printed at the right of the item; no key is bound to it.
    int AddItem(const std::wstring& caption, std::function<void()> onClick, const std::wstring& shortcutLabel = {});
    void AddSeparator();

    HMENU Handle() const { return menu_.Get(); }
    int Count() const;
    // The item's caption, without its shortcut label; empty for a separator.
    std::wstring Caption(int position) const;
    // The label printed at the right of the item; empty for none.
    std::wstring ShortcutLabel(int position) const;
    void SetShortcutLabel(int position, const std::wstring& shortcutLabel);
    bool IsSeparator(int position) const;
    bool Checked(int position) const;
    void SetChecked(int position, bool checked);
    bool Enabled(int position) const;
    void SetEnabled(int position, bool enabled);

    // Opens the menu with its top-left corner at a screen point (moved to stay
    // on the screen) and waits until it closes. An item can be chosen with
    // either mouse button. Gives the chosen item's position, or -1. Nothing
    // runs yet: see Choose.
    int Track(HWND owner, POINT screen) const;
    // Runs the handler of the item at position, as choosing it does (nothing
    // for a greyed item).
    void Choose(int position) const;
    // Track, then Choose what was chosen; true when an item was chosen.
    bool Popup(HWND owner, POINT screen) const;

private:
    UniqueMenu menu_;
    // One handler per position; a separator's is empty. An item's command
    // identifier is its position plus one, since 0 means "nothing chosen".
    std::vector<std::function<void()>> handlers_;
};

} // namespace ui
