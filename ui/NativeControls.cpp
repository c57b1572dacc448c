#include "ui/NativeControls.h"

#include "ui/Error.h"
#include "ui/HostWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

std::vector<class RadioButton*>& LiveRadioButtons() {
    static std::vector<RadioButton*> buttons;
    return buttons;
}

} // namespace

NativeControl::~NativeControl() {
    if (hwnd_) SetWindowLongPtrW(hwnd_.Get(), GWLP_USERDATA, 0);
}

void NativeControl::Create(HostWindow& host, DWORD style, const NativeControlArgs& a) {
    HWND hwnd = CreateWindowExW(0, L"BUTTON", a.text.c_str(), WS_CHILD | WS_VISIBLE | style, a.x, a.y, a.width,
                                a.height, host.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Error(L"Cannot create control: " + SystemErrorText(GetLastError()));
    hwnd_.Reset(hwnd);
    // The BUTTON class leaves GWLP_USERDATA to its user: it leads the host's
    // notification handling back to this object.
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    HFONT font = a.font ? a.font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    backgroundColor_ = a.background;
    if (a.background != CLR_INVALID) background_.Reset(CreateSolidBrush(a.background));
}

std::wstring NativeControl::Text() const {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd_.Get())) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd_.Get(), text.data(), static_cast<int>(text.size()))));
    return text;
}

NativeControl* NativeControl::FromHandle(HWND child) {
    if (!child) return nullptr;
    wchar_t className[16];
    if (!GetClassNameW(child, className, 16) || lstrcmpiW(className, L"BUTTON") != 0) return nullptr;
    return reinterpret_cast<NativeControl*>(GetWindowLongPtrW(child, GWLP_USERDATA));
}

void NativeControl::Command(WORD) {}

HBRUSH NativeControl::ColorBrush(HDC dc) {
    if (!background_) return nullptr;
    SetBkColor(dc, backgroundColor_);
    return background_.Get();
}

GroupBox::GroupBox(HostWindow& host, const NativeControlArgs& args) {
    // WS_CLIPSIBLINGS: the box lies under the buttons it frames and must not
    // paint its inside over them.
    Create(host, BS_GROUPBOX | WS_CLIPSIBLINGS, args);
    SetWindowSubclass(Handle(), &GroupBox::PaintInside, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK GroupBox::PaintInside(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                       DWORD_PTR self) noexcept {
    if (message == WM_PAINT) {
        // A group box draws only its frame and caption and leaves its inside
        // alone; the host clips its children out of its own painting, so
        // without this the inside would show whatever was on the screen.
        auto* box = reinterpret_cast<GroupBox*>(self);
        WindowDC dc(hwnd);
        if (HBRUSH brush = box->ColorBrush(dc.Get())) {
            RECT inside;
            GetClientRect(hwnd, &inside);
            FillRect(dc.Get(), &inside, brush);
        }
    } else if (message == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, &GroupBox::PaintInside, 1);
    }
    return DefSubclassProc(hwnd, message, wParam, lParam);
}

CheckBox::CheckBox(HostWindow& host, const NativeControlArgs& args) { Create(host, BS_CHECKBOX | WS_TABSTOP, args); }

bool CheckBox::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void CheckBox::Command(WORD code) {
    // BS_CHECKBOX (not the automatic style) leaves the mark to us, so that
    // only a user's click toggles it and raises OnClick.
    if (code != BN_CLICKED) return;
    SetChecked(!Checked());
    Click();
}

RadioButton::RadioButton(HostWindow& host, const NativeControlArgs& args) : host_(host.Handle()) {
    Create(host, BS_RADIOBUTTON | WS_TABSTOP, args);
    LiveRadioButtons().push_back(this);
}

RadioButton::~RadioButton() { std::erase(LiveRadioButtons(), this); }

bool RadioButton::Checked() const { return SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void RadioButton::SetChecked(bool checked) {
    if (checked) {
        for (RadioButton* other : LiveRadioButtons())
            if (other != this && other->host_ == host_) SendMessageW(other->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
    }
    SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void RadioButton::Command(WORD code) {
    if (code != BN_CLICKED) return;
    SetChecked(true);
    Click();
}

} // namespace ui
