// The suspend panel as the user meets it: shown over another window of the
// test that has the focus, and worked with the real mouse and keyboard.
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"
#include "RecordedBoxes.h"
#include "suspend/SuspendPanel.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace support;
using suspend::SuspendPanel;
using ButtonId = SuspendPanel::ButtonId;

namespace {

// The window the user is working in: an ordinary window, all red, made the
// foreground window. By default it belongs to a thread of its own: like
// another program's window, it has an input queue of its own, so keyboard
// input goes there and not to the panel's thread while it has the
// foreground.
class WorkWindow {
public:
    enum class Thread { Own, Shared };

    explicit WorkWindow(Thread thread = Thread::Own) {
        if (thread == Thread::Shared) {
            handle_ = Create();
            return;
        }
        thread_ = std::thread([this] {
            const HWND window = Create();
            handle_ = window;
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                DispatchMessageW(&msg);
            DestroyWindow(window);
        });
        while (!handle_)
            Sleep(5);
    }
    ~WorkWindow() {
        if (!thread_.joinable()) {
            DestroyWindow(handle_);
            return;
        }
        PostThreadMessageW(GetWindowThreadProcessId(handle_, nullptr), WM_QUIT, 0, 0);
        thread_.join();
    }
    HWND Handle() const { return handle_; }

private:
    static HWND Create() {
        static const HBRUSH red = CreateSolidBrush(RGB(200, 30, 30));
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = red;
        wc.lpszClassName = L"SnaporaTestWorkWindow";
        RegisterClassW(&wc); // fails harmlessly the second time
        const HWND window = CreateWindowExW(0, wc.lpszClassName, L"work", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 60,
                                            500, 300, nullptr, nullptr, wc.hInstance, nullptr);
        SetForegroundWindow(window);
        return window;
    }

    std::thread thread_;
    std::atomic<HWND> handle_ = nullptr;
};

POINT TopLeft(HWND window) {
    RECT r = support::WindowRectOf(window);
    return {r.left, r.top};
}

// The bar's colours: little red, much more blue.
bool IsBarColour(std::uint32_t pixel) { return (pixel >> 16) < 80 && (pixel & 0xFF) > (pixel >> 16) + 40; }

bool Near(std::uint32_t a, std::uint32_t b) {
    for (int shift : {0, 8, 16})
        if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) >= 8) return false;
    return true;
}

// The visible pop-up menu window of this process, or null.
HWND OpenMenuWindow() {
    HWND menu = FindWindowW(L"#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

class SuspendPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        work = std::make_unique<WorkWindow>();
        try {
            panel = std::make_unique<SuspendPanel>();
        } catch (const ui::Error& error) {
            FAIL() << "cannot create the panel: " << Narrow(error.Message());
        }
        // Each event notes whether a menu was still open when it came.
        auto record = [this](std::string event) {
            events.push_back(OpenMenuWindow() ? event + " inside the menu" : event);
        };
        panel->CaptureRequested = [record](capture::CaptureMethod method) {
            record("capture " + std::to_string(static_cast<int>(method)));
        };
        panel->PeriodicStartRequested = [record] { record("start periodic"); };
        panel->PeriodicStopRequested = [record] { record("stop periodic"); };
        panel->OptionsRequested = [record] { record("options"); };
        panel->MainWindowRequested = [record] { record("main window"); };
        panel->QuitRequested = [record] { record("quit"); };
        WaitUntil([this] { return GetForegroundWindow() == work->Handle(); });
    }
    void TearDown() override {
        EXPECT_TRUE(boxes.errors.empty()) << "first error: " << (boxes.errors.empty() ? "" : Narrow(boxes.errors[0]));
        panel.reset();
        work.reset();
        Pause(50);
    }

    // Shows the panel and waits until the screen shows its bar, dark blue.
    void ShowPanel() {
        panel->ShowPanel();
        WaitUntil([&] { return IsBarColour(ScreenPixel(OnPanel(150, 4))); });
    }

    // A screen point at (x, y) of the panel.
    POINT OnPanel(int x, int y) const {
        const POINT corner = TopLeft(panel->Handle());
        return {corner.x + x, corner.y + y};
    }
    POINT OnButton(ButtonId id) const {
        const RECT b = panel->Button(id).Bounds();
        return OnPanel((b.left + b.right) / 2, (b.top + b.bottom) / 2);
    }
    // A point of the background between the first two buttons.
    POINT OnBackground() const { return OnPanel(36, 20); }

    void Press(POINT at, DWORD down) {
        SendMouse(MOUSEEVENTF_MOVE | down, at);
        Pause(50);
    }

    // Moves the mouse with a button held until the panel's corner reaches
    // expected. Under Wine a late report of an earlier pointer position can
    // undo a move, so the hand moves again, as a user's would; it stirs
    // first, since a move to where the pointer already is reports nothing.
    bool DragTo(POINT to, POINT expected) {
        auto arrived = [&] {
            const POINT now = TopLeft(panel->Handle());
            return now.x == expected.x && now.y == expected.y;
        };
        for (int attempt = 0; attempt < 3 && !arrived(); ++attempt) {
            if (attempt > 0) SendMouse(MOUSEEVENTF_MOVE, {to.x + 1, to.y});
            SendMouse(MOUSEEVENTF_MOVE, to);
            WaitUntil(arrived, 1500);
        }
        const POINT now = TopLeft(panel->Handle());
        EXPECT_TRUE(arrived()) << "panel at " << now.x << ", " << now.y;
        return arrived();
    }

    // Sends the input that opens the menu; another thread plays the user in
    // the menu (the menu's loop holds this one) and gets the menu's window
    // rectangle. Gives whether a menu opened.
    bool InMenuOpenedBy(const std::function<void()>& openingInput, const std::function<void()>& user,
                        RECT* menuRect = nullptr) {
        std::atomic<bool> opened = false, stuck = false, done = false;
        const HWND owner = panel->Handle();
        std::thread helper([&] {
            HWND menu = nullptr;
            WaitUntil([&] { return (menu = OpenMenuWindow()) != nullptr; });
            if (menu) {
                opened = true;
                // The menu's loop answers once it runs, and then takes the input.
                Answers(owner);
                if (menuRect) GetWindowRect(menu, menuRect);
                user();
                WaitUntil([] { return OpenMenuWindow() == nullptr; }, 3000);
                // A menu the user could not close would hold the test for
                // good; the owner's cancel-mode ends any menu it opened.
                if (OpenMenuWindow()) {
                    stuck = true;
                    PostMessageW(owner, WM_CANCELMODE, 0, 0);
                }
            }
            done = true;
        });
        openingInput();
        WaitUntil([&] { return done && OpenMenuWindow() == nullptr; }, 8000);
        helper.join();
        Pause(100);
        EXPECT_FALSE(stuck) << "the menu stayed open";
        return opened;
    }
    bool RightClickAndInMenu(POINT at, const std::function<void()>& user, RECT* menuRect = nullptr) {
        return InMenuOpenedBy(
            [&] {
                MoveMouse(at);
                Pause(100);
                Press(at, MOUSEEVENTF_RIGHTDOWN);
                SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_RIGHTUP, at);
            },
            user, menuRect);
    }

    // Chooses the item at position in the open menu with a left click.
    void ClickMenuItem(int position) {
        RECT item{};
        GetMenuItemRect(nullptr, panel->Menu().Handle(), static_cast<UINT>(position), &item);
        const POINT at{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
        SendMouse(MOUSEEVENTF_MOVE, at);
        Sleep(150);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at);
    }

    RecordedBoxes boxes;
    std::unique_ptr<WorkWindow> work;
    std::unique_ptr<SuspendPanel> panel;
    std::vector<std::string> events;
};

} // namespace

TEST_F(SuspendPanelTest, IsAFloatingBarWhosePureWhiteIsSeeThrough) {
    EXPECT_FALSE(IsWindowVisible(panel->Handle())) << "created hidden";
    wchar_t text[64] = {};
    GetClassNameW(panel->Handle(), text, 64);
    EXPECT_EQ(std::wstring(text), L"TFormSimple");
    GetWindowTextW(panel->Handle(), text, 64);
    EXPECT_EQ(std::wstring(text), L"FormSimple");
    EXPECT_EQ(GetWindowLongW(panel->Handle(), GWL_STYLE) & ~WS_CLIPSIBLINGS, static_cast<LONG>(WS_POPUP));
    // The system keeps WS_EX_WINDOWEDGE only on windows with a raised frame,
    // which the panel has not.
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(panel->Handle(), GWL_EXSTYLE)) & ~WS_EX_WINDOWEDGE,
              (0x08000188u & ~WS_EX_WINDOWEDGE) | WS_EX_LAYERED);
    EXPECT_EQ(GetWindow(panel->Handle(), GW_OWNER), nullptr);
    COLORREF key = 0;
    BYTE alpha = 0;
    DWORD flags = 0;
    ASSERT_TRUE(GetLayeredWindowAttributes(panel->Handle(), &key, &alpha, &flags));
    EXPECT_EQ(key, RGB(255, 255, 255));
    EXPECT_EQ(alpha, 255);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_COLORKEY | LWA_ALPHA));

    ShowPanel();
    const RECT bounds = panel->WindowRect();
    EXPECT_EQ(bounds.left, 717);
    EXPECT_EQ(bounds.top, 109);
    EXPECT_EQ(bounds.right - bounds.left, 267);
    EXPECT_EQ(bounds.bottom - bounds.top, 41);
    EXPECT_EQ(GetForegroundWindow(), work->Handle()) << "showing the panel takes no focus";
    // Above the work window, which lies under it: the bar's colours in its
    // middle, the work window's red through its rounded corner, whose
    // transparent pixels the panel paints pure white.
    EXPECT_EQ(WindowFromPoint(OnPanel(133, 20)), panel->Handle());
    EXPECT_TRUE(IsBarColour(ScreenPixel(OnPanel(150, 4)))) << std::hex << ScreenPixel(OnPanel(150, 4));
    EXPECT_TRUE(Near(ScreenPixel(OnPanel(0, 0)), 0xC81E1E)) << std::hex << ScreenPixel(OnPanel(0, 0));
    EXPECT_TRUE(Near(ScreenPixel(OnPanel(266, 40)), 0xC81E1E));
}

TEST_F(SuspendPanelTest, ButtonsShowTheirHintsAndRaiseTheirCommandsWithoutTakingTheFocus) {
    ShowPanel();
    const struct {
        ButtonId id;
        const wchar_t* hint;
        const char* event;
    } expected[] = {
        {ButtonId::FullScreen, L"Full Screen", "capture 0"},
        {ButtonId::ActiveWindow, L"Active Window", "capture 1"},
        {ButtonId::Object, L"Object", "capture 2"},
        {ButtonId::SelectedRegion, L"Selected Region", "capture 3"},
        {ButtonId::FixedRegion, L"Fixed Region", "capture 4"},
        {ButtonId::RealTimeCapture, L"Real Time Capture", "start periodic"},
        {ButtonId::Setting, L"Setting", "options"},
        {ButtonId::Quit, L"Quit", "quit"},
    };
    const HWND tip = panel->Hints().Handle();
    for (const auto& button : expected) {
        SCOPED_TRACE(Narrow(button.hint));
        const POINT at = OnButton(button.id);
        ASSERT_TRUE(MoveMouse(at));
        // The tooltip comes up under the resting mouse with the button's hint.
        wchar_t shown[80] = {};
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = shown;
        auto tipShown = [&] {
            return IsWindowVisible(tip) && SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&tool)) &&
                   std::wstring(shown) == button.hint;
        };
        // Under Wine the panel in the background can miss the move that
        // brought the pointer to rest; a hand would stir, and so does this.
        for (int attempt = 0; attempt < 3 && !WaitUntil(tipShown, 1500); ++attempt) {
            SendMouse(MOUSEEVENTF_MOVE, {at.x + 1, at.y});
            SendMouse(MOUSEEVENTF_MOVE, at);
        }
        EXPECT_TRUE(tipShown()) << "shown: " << Narrow(shown);
        EXPECT_EQ(panel->Button(button.id).Cursor, LoadCursorW(nullptr, IDC_HAND));

        events.clear();
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_LEFTUP, at);
        WaitUntil([&] { return !events.empty(); });
        EXPECT_EQ(events, std::vector<std::string>{button.event});
        EXPECT_EQ(GetForegroundWindow(), work->Handle()) << "the click took the focus";
    }
}

TEST_F(SuspendPanelTest, DragsByTheBackgroundWithTheLeftButtonAndComesBackWhenLost) {
    ShowPanel();
    const POINT grab = OnBackground();
    ASSERT_TRUE(MoveMouse(grab));
    Pause(100);

    // A right press and move drag nothing.
    const POINT nearby{grab.x + 4, grab.y + 6};
    Press(grab, MOUSEEVENTF_RIGHTDOWN);
    Press(nearby, 0);
    Pause(100);
    EXPECT_FALSE(panel->Dragging());
    EXPECT_EQ(TopLeft(panel->Handle()).x, 717);
    EXPECT_EQ(TopLeft(panel->Handle()).y, 109);
    // Its release opens the menu; leave it with Escape, which reaches the
    // menu only because the panel borrows the foreground while it is open.
    const bool menuOpened = InMenuOpenedBy([&] { SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_RIGHTUP, nearby); },
                                           [] { SendKey(VK_ESCAPE, false), SendKey(VK_ESCAPE, true); });
    EXPECT_TRUE(menuOpened);
    EXPECT_TRUE(events.empty()) << "Escape chose " << (events.empty() ? "" : events[0]);
    EXPECT_EQ(GetForegroundWindow(), work->Handle()) << "the menu kept the focus";

    // A left drag moves the panel by the cursor's distance, with the mouse
    // captured even far off the panel, and partly off the left edge of the
    // screen: no clamping. Under Wine the capture holds only while this
    // program has the foreground, so the work window is on this thread now.
    work = std::make_unique<WorkWindow>(WorkWindow::Thread::Shared);
    WaitUntil([this] { return GetForegroundWindow() == work->Handle(); });
    ASSERT_TRUE(MoveMouse(grab));
    Pause(100);
    Press(grab, MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return panel->Dragging(); }));
    EXPECT_TRUE(DragTo({grab.x + 50, grab.y + 30}, {767, 139}));
    const POINT edge{5, 300};
    const POINT dropped{edge.x - (grab.x - 717), edge.y - (grab.y - 109)};
    EXPECT_TRUE(DragTo(edge, dropped));
    EXPECT_LT(dropped.x, 0);
    Press(edge, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return !panel->Dragging(); }));
    ASSERT_TRUE(MoveMouse({edge.x + 100, edge.y + 50}));
    Pause(100);
    EXPECT_EQ(TopLeft(panel->Handle()).x, dropped.x) << "moves after the release dragged on";
    EXPECT_EQ(GetForegroundWindow(), work->Handle());

    // Shown again, a panel partly on the screen stays where it was left ...
    panel->HidePanel();
    EXPECT_FALSE(IsWindowVisible(panel->Handle()));
    panel->ShowPanel();
    EXPECT_TRUE(IsWindowVisible(panel->Handle()));
    EXPECT_EQ(TopLeft(panel->Handle()).x, dropped.x);
    EXPECT_EQ(TopLeft(panel->Handle()).y, dropped.y);
    // ... and one wholly off it, as after the screen it was on went away,
    // comes back at its first position.
    panel->HidePanel();
    SetWindowPos(panel->Handle(), nullptr, -400, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    panel->ShowPanel();
    EXPECT_EQ(TopLeft(panel->Handle()).x, 717);
    EXPECT_EQ(TopLeft(panel->Handle()).y, 109);
    Pause(100);
    EXPECT_EQ(GetForegroundWindow(), work->Handle());
}

TEST_F(SuspendPanelTest, ADragWhoseReleaseWentElsewhereEndsAtTheNextMove) {
    ShowPanel();
    // A press, a jump far off the panel and a release there. While another
    // program has the foreground, Wine gives the jump and the release to the
    // window under the pointer, not to the panel that holds the mouse.
    const POINT grab = OnBackground(), away{300, 800};
    ASSERT_TRUE(MoveMouse(grab));
    Pause(100);
    Press(grab, MOUSEEVENTF_LEFTDOWN);
    Press(away, 0);
    Press(away, MOUSEEVENTF_LEFTUP);
    Pause(200);
    // Plain moves over the panel afterwards drag nothing.
    const POINT corner = TopLeft(panel->Handle());
    ASSERT_TRUE(MoveMouse(OnBackground()));
    ASSERT_TRUE(MoveMouse(OnPanel(40, 25)));
    Pause(200);
    EXPECT_FALSE(panel->Dragging());
    EXPECT_EQ(TopLeft(panel->Handle()).x, corner.x);
    EXPECT_EQ(TopLeft(panel->Handle()).y, corner.y);
}

TEST_F(SuspendPanelTest, DoubleClickOnTheBackgroundAsksForTheMainWindow) {
    ShowPanel();
    ASSERT_TRUE(Click(OnBackground()));
    AwaitDoubleClickTime();
    EXPECT_TRUE(events.empty()) << "a single click raised " << (events.empty() ? "" : events[0]);
    ASSERT_TRUE(DoubleClick(OnBackground()));
    WaitUntil([&] { return !events.empty(); });
    EXPECT_EQ(events, std::vector<std::string>{"main window"});
    EXPECT_EQ(TopLeft(panel->Handle()).x, 717) << "the double click moved the panel";
    EXPECT_EQ(GetForegroundWindow(), work->Handle());
}

TEST_F(SuspendPanelTest, RightClickMenuOpensAtTheCursorAndRunsTheChosenItemAfterClosing) {
    const ui::PopupMenu& menu = panel->Menu();
    ASSERT_EQ(menu.Count(), 6);
    const wchar_t* captions[] = {L"Main Interface", L"Hide", L"", L"Stop Real Time Capture", L"", L"Exit"};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(menu.Caption(i), captions[i]) << i;
        EXPECT_EQ(menu.IsSeparator(i), i == 2 || i == 4) << i;
        EXPECT_TRUE(menu.IsSeparator(i) || menu.Enabled(i)) << i;
    }

    ShowPanel();
    const struct {
        int item;
        const char* event;
    } choices[] = {
        {SuspendPanel::kMainInterfaceItem, "main window"},
        {SuspendPanel::kStopRealTimeCaptureItem, "stop periodic"},
        {SuspendPanel::kExitItem, "quit"},
        {SuspendPanel::kHideItem, nullptr},
    };
    for (const auto& choice : choices) {
        SCOPED_TRACE(choice.item);
        events.clear();
        // Over a button, which also takes the right click to the menu.
        const POINT at = choice.item == SuspendPanel::kExitItem ? OnButton(ButtonId::Object) : OnBackground();
        RECT opened{};
        ASSERT_TRUE(RightClickAndInMenu(
            at, [&] { ClickMenuItem(choice.item); }, &opened));
        EXPECT_NEAR(opened.left, at.x, 2);
        EXPECT_NEAR(opened.top, at.y, 2);
        if (choice.event) {
            EXPECT_EQ(events, std::vector<std::string>{choice.event});
            EXPECT_TRUE(IsWindowVisible(panel->Handle()));
        } else {
            EXPECT_TRUE(events.empty());
            EXPECT_FALSE(IsWindowVisible(panel->Handle())) << "Hide left the panel shown";
        }
        EXPECT_EQ(GetForegroundWindow(), work->Handle()) << "the menu kept the focus";
        AwaitDoubleClickTime();
    }
}
