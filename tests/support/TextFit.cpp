#include "tests/support/TextFit.h"

#include "tests/support/Windows.h"

#include <algorithm>

namespace support {

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = L"";
    GetClassNameW(window, name, 64);
    return name;
}

int Scaled(int length, int dpi) { return MulDiv(length, dpi, 96); }

} // namespace

SIZE MeasureText(HFONT font, const std::wstring& text) {
    HDC dc = CreateCompatibleDC(nullptr);
    const HGDIOBJ old = SelectObject(dc, font);
    RECT bounds{0, 0, 0, 0};
    // DT_CALCRECT measures every line; an empty text still takes one line's height.
    const std::wstring measured = text.empty() ? L" " : text;
    DrawTextW(dc, measured.c_str(), static_cast<int>(measured.size()), &bounds, DT_CALCRECT | DT_NOPREFIX);
    SelectObject(dc, old);
    DeleteDC(dc);
    return {text.empty() ? 0 : bounds.right - bounds.left, bounds.bottom - bounds.top};
}

std::vector<std::string> ClippedTexts(const std::vector<TextRoom>& texts) {
    std::vector<std::string> clipped;
    for (const TextRoom& t : texts) {
        if (!t.font) {
            clipped.push_back(Narrow(t.what + L" \"" + t.text + L"\" has no font"));
            continue;
        }
        const SIZE needed = MeasureText(t.font, t.text);
        if (needed.cx > t.room.cx || needed.cy > t.room.cy)
            clipped.push_back(Narrow(t.what + L" \"" + t.text + L"\" needs " + std::to_wstring(needed.cx) + L" x " +
                                     std::to_wstring(needed.cy) + L", has " + std::to_wstring(t.room.cx) + L" x " +
                                     std::to_wstring(t.room.cy)));
    }
    return clipped;
}

std::vector<TextRoom> NativeTextRooms(HWND window, int dpi) {
    std::vector<HWND> children;
    EnumChildWindows(
        window,
        [](HWND child, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    std::vector<TextRoom> rooms;
    for (HWND child : children) {
        // The window itself may be hidden: its controls count when they
        // show with it.
        if (!(GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE)) continue;
        const std::wstring kind = ClassOf(child);
        TextRoom room{kind, WindowCaption(child), reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), {}};
        RECT client{};
        GetClientRect(child, &client);
        room.room = {client.right, client.bottom};
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(child, GWL_STYLE));
        if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            const DWORD type = style & BS_TYPEMASK;
            if (type == BS_GROUPBOX) {
                // The caption sits in the top edge, inset from the corners.
                room.room.cx -= Scaled(16, dpi);
            } else if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_RADIOBUTTON ||
                       type == BS_AUTORADIOBUTTON) {
                // The box and the gap after it.
                room.room.cx -= Scaled(16, dpi);
            } else {
                // A push button's text stays inside its frame.
                room.room.cx -= Scaled(6, dpi);
                room.room.cy -= Scaled(4, dpi);
            }
        } else if (lstrcmpiW(kind.c_str(), L"Static") == 0) {
            if ((style & SS_TYPEMASK) > SS_RIGHT && (style & SS_TYPEMASK) != SS_LEFTNOWORDWRAP) continue;
        } else if (lstrcmpiW(kind.c_str(), L"Edit") == 0) {
            // A one-line box scrolls sideways, so only a line's height must fit.
            if (GetParent(child) != window && lstrcmpiW(ClassOf(GetParent(child)).c_str(), L"ComboBox") == 0) continue;
            room.text = L"0";
        } else if (lstrcmpiW(kind.c_str(), L"ComboBox") == 0) {
            room.room.cy = static_cast<int>(SendMessageW(child, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
            room.text = L"0";
        } else {
            continue;
        }
        rooms.push_back(room);
    }
    return rooms;
}

} // namespace support
