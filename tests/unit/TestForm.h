// A plain hidden form for tests that put controls on a real window.
#pragma once

#include "ui/Bitmap.h"
#include "ui/HostWindow.h"

namespace testing_support {

class TestForm : public ui::HostWindow {
public:
    explicit TestForm(int width = 300, int height = 200, DWORD style = WS_POPUP, POINT at = {0, 0}) {
        CreateHost(L"SnaporaTestForm",
                   {.caption = L"form", .style = style, .x = at.x, .y = at.y, .width = width, .height = height});
    }
    // A mouse message at a point of the client area, handled when it returns.
    void Send(UINT message, WPARAM keys, int x, int y) { SendMessageW(Handle(), message, keys, MAKELPARAM(x, y)); }
    // The client area as painted now.
    ui::Bitmap Snapshot() {
        RECT client{};
        GetClientRect(Handle(), &client);
        ui::Bitmap shot(client.right, client.bottom);
        SendMessageW(Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(shot.Canvas()), PRF_CLIENT);
        GdiFlush();
        return shot;
    }
};

} // namespace testing_support
