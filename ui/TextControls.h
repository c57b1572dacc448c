// Wrappers of the platform's text controls placed on a host window: the edit
// box, the editable drop-down list (combo box), the spin arrows (up-down) that
// step a number in an edit box, and the static label.
#pragma once

#include "ui/NativeControls.h"

#include <initializer_list>

namespace ui {

// A one-line edit box with a sunken border.
class Edit : public NativeControl {
public:
    Edit(HostWindow& host, const NativeControlArgs& args);
    // Selects the whole text, as the keyboard does when it moves into the box.
    void SelectAll();
};

// A drop-down list whose selection field can also be typed into: Text() is
// whatever the field shows, chosen or typed. With CBS_DROPDOWNLIST in the
// arguments' style the field shows the chosen entry only.
class ComboBox : public NativeControl {
public:
    // height is the height of the selection field; the list drops below it.
    ComboBox(HostWindow& host, const NativeControlArgs& args, std::initializer_list<const wchar_t*> items);
    int ItemCount() const;
    std::wstring Item(int index) const;
    // The index of the chosen entry, -1 for none; choosing from code raises nothing.
    int Selection() const;
    void SetSelection(int index);
};

struct UpDownArgs {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int minimum = 0;
    int maximum = 100;
    int position = 0;
    DWORD style = 0; // added to the control's own style
};

// Spin arrows bound to an edit box (the buddy): a click or an arrow key steps
// the number in the box by one within the range and writes it back as plain
// digits, without a thousands separator, so that it reads back as an integer.
class UpDown : public NativeControl {
public:
    UpDown(HostWindow& host, Edit& buddy, const UpDownArgs& args);
    int Position() const;
    // Sets the position, clamped to the range; the buddy shows it.
    void SetPosition(int position);
    int Minimum() const;
    int Maximum() const;
};

// A static text that sizes itself to its text when no width is given.
class Label : public NativeControl {
public:
    Label(HostWindow& host, const NativeControlArgs& args);
};

} // namespace ui
