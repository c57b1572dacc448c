// The main window as a user meets it: where it opens and what it selects, a
// start that keeps it hidden, moving it by its header, and its close button.
#include "app/MainWindow.h"
#include "tests/support/Input.h"
#include "tests/support/RunningSnapora.h"
#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <gtest/gtest.h>

#include <string>

using support::RunningSnapora;

namespace {

// Generous: a loaded machine under Wine can take seconds to start a program.
constexpr DWORD kTimeoutMs = 15000;

// The hotkey atoms that the running program holds, one per global hotkey.
const wchar_t* const kHotKeyAtoms[] = {L"MyCtrl1HotKey", L"MyCtrl2HotKey", L"MyCtrl3HotKey", L"MyCtrl4HotKey",
                                       L"MyCtrl5HotKey", L"MyCtrl6HotKey", L"MyCtrl7HotKey"};

// Waits for the main window to be on the screen and in front, where a click
// reaches it at once.
HWND WaitForShownMainWindow(const RunningSnapora& app) {
    HWND main = app.WaitForWindow(app::kMainWindowClass, nullptr, kTimeoutMs);
    if (main) support::WaitUntil([&] { return GetForegroundWindow() == main; }, 5000);
    return main;
}

POINT ClientOrigin(HWND window) { return support::ScreenPoint(window, {0, 0}); }
POINT ClientPoint(HWND window, int x, int y) { return support::ScreenPoint(window, {x, y}); }

HWND FindChildButton(HWND parent, const wchar_t* text) {
    struct Search {
        const wchar_t* text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (lstrcmpiW(support::WindowClass(child).c_str(), L"BUTTON") != 0 ||
                support::WindowCaption(child) != s->text)
                return TRUE;
            s->found = child;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

TEST(MainWindow, OpensAtItsDesignPlaceAndSizeWithSelectedRegionAlone) {
    RunningSnapora app;
    HWND main = WaitForShownMainWindow(app);
    ASSERT_TRUE(main) << "the main window was not shown";
    EXPECT_EQ(support::WindowCaption(main), L"Snapora");

    RECT client{};
    GetClientRect(main, &client);
    EXPECT_EQ(client.right - client.left, 613);
    EXPECT_EQ(client.bottom - client.top, 481);
    const POINT origin = ClientOrigin(main);
    EXPECT_EQ(origin.x, 355);
    EXPECT_EQ(origin.y, 153);

    const struct {
        const wchar_t* text;
        LRESULT check;
    } methods[] = {{L"Full Screen", BST_UNCHECKED},
                   {L"Active Window", BST_UNCHECKED},
                   {L"Object", BST_UNCHECKED},
                   {L"Selected Region", BST_CHECKED},
                   {L"Fixed Region", BST_UNCHECKED}};
    for (const auto& method : methods) {
        HWND button = FindChildButton(main, method.text);
        ASSERT_TRUE(button) << "no radio button " << testing::PrintToString(std::wstring(method.text));
        EXPECT_EQ(SendMessageW(button, BM_GETCHECK, 0, 0), method.check)
            << testing::PrintToString(std::wstring(method.text));
    }
}

TEST(MainWindow, StartupSuspendKeepsEveryWindowHidden) {
    RunningSnapora app({.configIni = "[Options]\r\nStartupSuspend=1\r\n"});
    // The suspend panel is the last window made before the message loop
    // starts, and the main window answers only from that loop: by then the
    // main window would have been shown.
    HWND main = app.WaitForWindow(app::kMainWindowClass, nullptr, kTimeoutMs, true);
    ASSERT_TRUE(main) << "no main window was created";
    ASSERT_TRUE(app.WaitForWindow(L"TFormSimple", nullptr, kTimeoutMs, true)) << "no suspend panel was created";
    ASSERT_TRUE(support::Answers(main, 10000)) << "the message loop did not start";

    EXPECT_TRUE(app.IsRunning());
    for (HWND shown : app.Windows())
        ADD_FAILURE() << "a window is shown: class " << testing::PrintToString(support::WindowClass(shown))
                      << ", caption " << testing::PrintToString(support::WindowCaption(shown));
}

TEST(MainWindow, HeaderMovesTheWindowWithTheLeftButtonOnly) {
    RunningSnapora app;
    HWND main = WaitForShownMainWindow(app);
    ASSERT_TRUE(main);
    const POINT start = ClientOrigin(main);

    // On the header's middle picture, clear of its buttons and of the
    // minimize and close buttons.
    const POINT grip = ClientPoint(main, 400, 20);
    support::Drag(grip, {grip.x + 150, grip.y + 90}, support::Button::Right);
    ASSERT_TRUE(support::Answers(main, 10000));
    POINT now = ClientOrigin(main);
    EXPECT_EQ(now.x, start.x) << "a right-button drag moved the window";
    EXPECT_EQ(now.y, start.y) << "a right-button drag moved the window";

    // The window follows the mouse exactly, so it ends as far from where it
    // started as the left drag went; had the right drag moved it too (even
    // after the check above), it would end further.
    const POINT from = ClientPoint(main, 400, 20);
    support::Drag(from, {from.x + 100, from.y + 60});
    const bool moved = support::WaitUntil(
        [&] {
            now = ClientOrigin(main);
            return now.x == start.x + 100 && now.y == start.y + 60;
        },
        5000);
    EXPECT_TRUE(moved) << "the window went from (" << start.x << ", " << start.y << ") to (" << now.x << ", " << now.y
                       << ") on a left drag of (100, 60)";
}

TEST(MainWindow, CloseButtonEndsTheProgramAndReleasesTheHotKeyAtoms) {
    for (const wchar_t* name : kHotKeyAtoms)
        ASSERT_EQ(GlobalFindAtomW(name), 0) << "left over from an earlier run: " << testing::PrintToString(name);

    RunningSnapora app;
    HWND main = WaitForShownMainWindow(app);
    ASSERT_TRUE(main);
    for (const wchar_t* name : kHotKeyAtoms)
        EXPECT_NE(GlobalFindAtomW(name), 0) << "not held while running: " << testing::PrintToString(name);

    // The close button is 25 x 31, 43 pixels from the right edge and 6 from
    // the top; its 24 x 20 picture fills its upper part.
    RECT client{};
    GetClientRect(main, &client);
    support::Click(ClientPoint(main, client.right - 43 + 12, 6 + 10));
    const auto code = app.WaitForExit(kTimeoutMs);
    ASSERT_TRUE(code.has_value()) << "the program did not end when its close button was clicked";
    EXPECT_EQ(*code, 0u);
    for (const wchar_t* name : kHotKeyAtoms)
        EXPECT_EQ(GlobalFindAtomW(name), 0) << "still held after exit: " << testing::PrintToString(name);
}
