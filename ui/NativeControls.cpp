#include "ui/NativeControls.h"

#include "ui/Error.h"
#include "ui/HostWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace ui {

namespace {

// The window property that leads from a control's window to its wrapper. A
// property rather than GWLP_USERDATA, which not every class leaves free, and
// which the windows that a control makes for itself (the edit box inside a
// combo box) do not carry.
const wchar_t* const kWrapperProperty = L"SnaporaNativeControl";

std::vector<class RadioButton*>& LiveRadioButtons() {
    static std::vector<RadioButton*> buttons;
    return buttons;
}

} // namespace

void RegisterCommonControlClasses(DWORD classes) {
    INITCOMMONCONTROLSEX init{sizeof init, classes};
    InitCommonControlsEx(&init);
}

NativeControl::~NativeControl() {
    if (hwnd_) RemovePropW(hwnd_.Get(), kWrapperProperty);
}

void NativeControl::Create(HostWindow& host, DWORD style, const NativeControlArgs& args) {
    Create(host, L"BUTTON", style, 0, args);
}

void NativeControl::Create(HostWindow& host, const wchar_t* className, DWORD style, DWORD exStyle,
                           const NativeControlArgs& a) {
    HWND hwnd = CreateWindowExW(exStyle, className, a.text.c_str(), WS_CHILD | WS_VISIBLE | style | a.style, a.x, a.y,
                                a.width, a.height, host.Handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Error(L"Cannot create control: " + SystemErrorText(GetLastError()));
    hwnd_.Reset(hwnd);
    SetPropW(hwnd, kWrapperProperty, this);
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

void NativeControl::SetText(const std::wstring& text) { SetWindowTextW(hwnd_.Get(), text.c_str()); }

NativeControl* NativeControl::FromHandle(HWND child) {
    if (!child) return nullptr;
    return static_cast<NativeControl*>(GetPropW(child, kWrapperProperty));
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
