// A plain hidden form for tests that put controls on a real window.
#pragma once

#include "ui/HostWindow.h"

namespace testing_support {

class TestForm : public ui::HostWindow {
public:
    TestForm() {
        CreateHost(L"SnaporaToolkitTestForm",
                   {.caption = L"form", .style = WS_POPUP, .x = 0, .y = 0, .width = 300, .height = 200});
    }
};

} // namespace testing_support
