// Wrappers of the platform's own controls placed on a host window: here the
// BUTTON class (group box, radio button and check box); ui/TextControls.h
// has the edit, combo box, up-down and label. The host routes their
// notifications back to the wrapper, which raises OnClick for a click by the
// user. Setting a state from code never raises it.
#pragma once

#include "ui/Handles.h"

#include <functional>
#include <string>

namespace ui {

class HostWindow;

// Registers the common-control window classes (ICC_* flags) that a control
// about to be made needs; comctl32 registers them only when asked, and
// asking again does no harm.
void RegisterCommonControlClasses(DWORD classes);

struct NativeControlArgs {
    std::wstring text;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    HFONT font = nullptr; // null: the system's GUI font
    // Background painted behind the control's text (a COLORREF); CLR_INVALID
    // leaves it to the control.
    COLORREF background = CLR_INVALID;
    // Added to the kind's own style, e.g. WS_GROUP to start a keyboard group.
    DWORD style = 0;
};

class NativeControl {
public:
    virtual ~NativeControl();
    NativeControl(const NativeControl&) = delete;
    NativeControl& operator=(const NativeControl&) = delete;

    HWND Handle() const { return hwnd_.Get(); }
    std::wstring Text() const;
    void SetText(const std::wstring& text);
    bool Visible() const { return IsWindowVisible(hwnd_.Get()) != FALSE; }
    void SetVisible(bool visible) { ShowWindow(hwnd_.Get(), visible ? SW_SHOWNA : SW_HIDE); }

    std::function<void()> OnClick;

    // The wrapper of a child window created here, or null.
    static NativeControl* FromHandle(HWND child);

    // Called by the host for WM_COMMAND from this control.
    virtual void Command(WORD code);
    // Called by the host for WM_CTLCOLORSTATIC / WM_CTLCOLORBTN; null leaves it to the system.
    HBRUSH ColorBrush(HDC dc);

protected:
    NativeControl() = default;
    void Create(HostWindow& host, DWORD style, const NativeControlArgs& args);
    void Create(HostWindow& host, const wchar_t* className, DWORD style, DWORD exStyle, const NativeControlArgs& args);
    // Raises OnClick.
    void Click() {
        if (OnClick) OnClick();
    }

private:
    UniqueWindow hwnd_;
    UniqueBrush background_;
    COLORREF backgroundColor_ = CLR_INVALID;
};

class GroupBox : public NativeControl {
public:
    GroupBox(HostWindow& host, const NativeControlArgs& args);

private:
    static LRESULT CALLBACK PaintInside(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                        DWORD_PTR self) noexcept;
};

class CheckBox : public NativeControl {
public:
    CheckBox(HostWindow& host, const NativeControlArgs& args);
    bool Checked() const;
    // Changes the mark only; OnClick is not raised.
    void SetChecked(bool checked);
    void Command(WORD code) override;
};

// Radio buttons on the same host form one group: checking one unchecks the others.
class RadioButton : public NativeControl {
public:
    RadioButton(HostWindow& host, const NativeControlArgs& args);
    ~RadioButton() override;
    bool Checked() const;
    // Changes the marks only (this one, and the others of the group when
    // checking); OnClick is not raised.
    void SetChecked(bool checked);
    // A click by the user checks the button and raises OnClick, also when it
    // was checked already (clicking the selected method again re-arms it).
    void Command(WORD code) override;

private:
    HWND host_;
};

} // namespace ui
