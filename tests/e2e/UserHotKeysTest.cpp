// Hotkeys the user chooses: set in More Options and in force at once, named
// when another program holds them, and a capture key of the user's own.
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "tests/e2e/CaptureSession.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace e2e;

class UserHotKeys : public CaptureSession {
protected:
    // The More Options window's hotkey fields, in the order of its rows.
    static std::vector<HWND> HotKeyFields(HWND window) {
        std::vector<HWND> fields;
        for (HWND child = FindWindowExW(window, nullptr, HOTKEY_CLASSW, nullptr); child;
             child = FindWindowExW(window, child, HOTKEY_CLASSW, nullptr))
            fields.push_back(child);
        std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
            RECT ra{}, rb{};
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.top < rb.top;
        });
        return fields;
    }

    static WORD FieldKey(HWND field) { return LOWORD(SendMessageW(field, HKM_GETHOTKEY, 0, 0)); }

    std::string ConfigText() const {
        std::ifstream in(std::filesystem::path(app->Folder() + L"\\config.ini"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Another program's window in front, with the keyboard focus.
    static void Focus(const TargetProgram& target) {
        RECT t = support::WindowRectOf(target.Window());
        Click({t.left + 20, t.bottom - 20});
        WaitUntil([&] { return GetForegroundWindow() == target.Window(); }, kWait);
    }
};

} // namespace

TEST_F(UserHotKeys, FullScreenSetToCtrlShiftFAndObjectClearedInMoreOptionsAreInForceAtOnce) {
    Start();
    HWND options = OpenOptions();
    ASSERT_NE(options, nullptr) << "the Options window did not open";
    Click(ScreenPoint(options, {352 + 32, 478 + 11}));
    HWND more = app->WaitForWindow(settings::kMoreOptionsWindowClass, L"Snapora - More Options", kWait);
    ASSERT_NE(more, nullptr) << "More Options did not open";
    const std::vector<HWND> fields = HotKeyFields(more);
    ASSERT_EQ(fields.size(), 8u);
    EXPECT_EQ(FieldKey(fields[0]), MAKEWORD('1', HOTKEYF_CONTROL));
    EXPECT_EQ(FieldKey(fields[7]), MAKEWORD('D', HOTKEYF_CONTROL)) << "the capture key";

    // Typed into the fields as a user does.
    Click(Centre(fields[0]));
    PressKeys({VK_CONTROL, VK_SHIFT, 'F'});
    EXPECT_TRUE(WaitUntil([&] { return FieldKey(fields[0]) == MAKEWORD('F', HOTKEYF_CONTROL | HOTKEYF_SHIFT); }, kWait))
        << "the field shows " << std::hex << FieldKey(fields[0]);
    Click(Centre(fields[2]));
    PressKeys({VK_BACK});
    EXPECT_TRUE(WaitUntil([&] { return FieldKey(fields[2]) == 0; }, kWait)) << "Object was not cleared";
    // Save stands a margin above the window's bottom edge, under the groups.
    RECT moreClient{};
    GetClientRect(more, &moreClient);
    Click(ScreenPoint(more, {120 + 36, moreClient.bottom - 24 - 30}));
    HWND saved = app->WaitForWindow(L"#32770", L"Success", kWait);
    ASSERT_NE(saved, nullptr) << "the settings were not saved";
    EXPECT_TRUE(PressOk(saved));
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(more); }, kWait)) << "Save did not close More Options";
    EXPECT_NE(ConfigText().find("HotKeyFullScreen=Ctrl+Shift+F\r\nHotKeyActiveWindow=Ctrl+2\r\nHotKeyObject=\r\n"),
              std::string::npos)
        << ConfigText();
    PostMessageW(options, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(options); }, kWait));

    // Ctrl+1 and Ctrl+3 are the other program's now; Ctrl+Shift+F captures.
    TargetProgram target({420, 300, 740, 540});
    Focus(target);
    PressKeys({VK_CONTROL, '1'});
    PressKeys({VK_CONTROL, '3'});
    EXPECT_TRUE(WaitUntil([&] { return target.KeysTyped() == L"Ctrl+1 Ctrl+3"; }, kWait))
        << "the other program got \"" << std::string(target.KeysTyped().begin(), target.KeysTyped().end()) << "\"";
    EXPECT_EQ(app->FindWindowOf(picture::kPictureWindowClass, nullptr, false), nullptr) << "Ctrl+1 still captured";
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, VK_SHIFT, 'F'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+Shift+F did not capture";
    const Picture screen = CopyPicture(save);
    EXPECT_EQ(screen.Size(), std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    Cancel(save);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(UserHotKeys, KeysThatAnotherProgramHoldsAreNamedInOneMessage) {
    // This test program holds Ctrl+3 and Ctrl+R before Snapora starts.
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x2F10, MOD_CONTROL, '3'));
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x2F11, MOD_CONTROL, 'R'));
    Start();
    HWND box = app->WaitForWindow(L"#32770", nullptr, kWait);
    ASSERT_NE(box, nullptr) << "nothing was reported";
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"Ctrl+3 (Object)"), std::wstring::npos);
    EXPECT_NE(text.find(L"Ctrl+R (Real Time Capture)"), std::wstring::npos);
    EXPECT_EQ(text.find(L"Ctrl+1"), std::wstring::npos);
    EXPECT_TRUE(PressOk(box));
    EXPECT_FALSE(WaitUntil([&] { return !app->MessageBoxes().empty(); }, 1500)) << "a second message came";
    UnregisterHotKey(nullptr, 0x2F10);
    UnregisterHotKey(nullptr, 0x2F11);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}

TEST_F(UserHotKeys, WithCtrlQAsTheCaptureKeyCtrlQCapturesAndCtrlDReachesTheOtherProgram) {
    Start("[Options]\r\nCaptureKey=Ctrl+Q\r\n");
    Select(L"Full Screen");
    TargetProgram target({420, 300, 740, 540});
    Focus(target);
    PressKeys({VK_CONTROL, 'D'});
    EXPECT_TRUE(WaitUntil([&] { return target.KeysTyped() == L"Ctrl+D"; }, kWait)) << "Ctrl+D did not reach it";
    EXPECT_EQ(app->FindWindowOf(picture::kPictureWindowClass, nullptr, false), nullptr) << "Ctrl+D still captured";
    MoveMouse({1200, 980});
    PressKeys({VK_CONTROL, 'Q'});
    HWND save = WaitForPictureWindow();
    ASSERT_NE(save, nullptr) << "Ctrl+Q did not capture";
    EXPECT_EQ(target.KeysTyped(), L"Ctrl+D") << "the capture key reached the other program too";
    Cancel(save);
    EXPECT_EQ(app->Close(), std::optional<DWORD>(0));
}
