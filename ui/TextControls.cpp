#include "ui/TextControls.h"

#include "ui/Resources.h"

#include <commctrl.h>

namespace ui {

Edit::Edit(HostWindow& host, const NativeControlArgs& args) {
    Create(host, L"EDIT", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, args);
}

void Edit::SelectAll() { SendMessageW(Handle(), EM_SETSEL, 0, -1); }

ComboBox::ComboBox(HostWindow& host, const NativeControlArgs& args, std::initializer_list<const wchar_t*> items) {
    // The window of a drop-down combo box is as tall as the field and the
    // list that drops from it together; the list gets room for a few more
    // entries than it holds.
    NativeControlArgs created = args;
    created.height = args.height + 16 * (static_cast<int>(items.size()) + 2);
    Create(host, L"COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP, 0, created);
    for (const wchar_t* item : items)
        SendMessageW(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    // The field takes its height from the font; item -1 is the field, whose
    // height is given without the two-pixel sunken border on either side.
    SendMessageW(Handle(), CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), args.height - 6);
    SetText(args.text);
}

int ComboBox::ItemCount() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCOUNT, 0, 0)); }

int ComboBox::Selection() const { return static_cast<int>(SendMessageW(Handle(), CB_GETCURSEL, 0, 0)); }

void ComboBox::SetSelection(int index) { SendMessageW(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::wstring ComboBox::Item(int index) const {
    const LRESULT length = SendMessageW(Handle(), CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = SendMessageW(Handle(), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
    return text;
}

UpDown::UpDown(HostWindow& host, Edit& buddy, const UpDownArgs& a) {
    // The up-down class lives in the common controls library.
    RegisterCommonControlClasses(ICC_UPDOWN_CLASS);
    // Placed where it is told rather than aligned to the buddy (no
    // UDS_ALIGNRIGHT), which would shrink the box. UDS_SETBUDDYINT makes the
    // arrows read the box's number before a step and write the result back;
    // UDS_NOTHOUSANDS keeps that text free of separators ("1024", not
    // "1,024"), so that it still reads as an integer afterwards.
    Create(host, UPDOWN_CLASSW, UDS_SETBUDDYINT | UDS_ARROWKEYS | UDS_NOTHOUSANDS | WS_TABSTOP | a.style, 0,
           {.x = a.x, .y = a.y, .width = a.width, .height = a.height});
    SendMessageW(Handle(), UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy.Handle()), 0);
    SendMessageW(Handle(), UDM_SETRANGE32, a.minimum, a.maximum);
    SetPosition(a.position);
}

int UpDown::Position() const { return static_cast<int>(SendMessageW(Handle(), UDM_GETPOS32, 0, 0)); }

void UpDown::SetPosition(int position) { SendMessageW(Handle(), UDM_SETPOS32, 0, position); }

int UpDown::Minimum() const {
    int minimum = 0, maximum = 0;
    SendMessageW(Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
    return minimum;
}

int UpDown::Maximum() const {
    int minimum = 0, maximum = 0;
    SendMessageW(Handle(), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&minimum), reinterpret_cast<LPARAM>(&maximum));
    return maximum;
}

Label::Label(HostWindow& host, const NativeControlArgs& args) {
    NativeControlArgs sized = args;
    if (sized.width <= 0 || sized.height <= 0) {
        const SIZE extent = TextExtent(args.font, args.text);
        if (sized.width <= 0) sized.width = extent.cx;
        if (sized.height <= 0) sized.height = extent.cy;
    }
    // SS_NOPREFIX: an ampersand in the text is shown, not taken as a mnemonic.
    Create(host, L"STATIC", SS_LEFT | SS_NOPREFIX, 0, sized);
}

} // namespace ui
