// The hotkeys as the user sets them in More Options and meets them: the
// field's own keys, Save refusing a key given twice, and saved keys in force
// at once in the tray menu, on the main window, in the "Notice" box and in
// the one message that names the keys another program holds.
#include "app/SnaporaApp.h"
#include "ui/Application.h"
#include "ui/Error.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using settings::HotKeyCommand;
using Item = app::Tray::Item;
using capture::CaptureMethod;

class HotKeysInForce : public ::testing::Test {
protected:
    void SetUp() override {
        // Save writes config.ini beside the test program; it must not outlive the test.
        ASSERT_FALSE(std::filesystem::exists(settings::ConfigFilePath())) << "a config.ini lies beside the tests";
        ui::App().MessageHandler = [this](const std::wstring& text, UINT) {
            messages.push_back(text);
            return IDCANCEL;
        };
        snapora = std::make_unique<app::SnaporaApp>();
    }
    void TearDown() override {
        snapora.reset();
        ui::App().MessageHandler = nullptr;
        std::filesystem::remove(settings::ConfigFilePath());
    }

    app::MainWindow& main() { return snapora->MainWindow(); }
    settings::MoreOptionsWindow& more() { return snapora->MoreOptionsWindow(); }
    HWND Field(HotKeyCommand command) { return more().HotKeys().Field(command); }
    ui::HotKeyField& FieldOf(HotKeyCommand command) {
        return *static_cast<ui::HotKeyField*>(ui::NativeControl::FromHandle(Field(command)));
    }
    void Set(HotKeyCommand command, UINT modifiers, UINT key) { FieldOf(command).SetKey(modifiers, key); }
    std::wstring Label(Item item) { return snapora->Tray().Menu().ShortcutLabel(static_cast<int>(item)); }
    std::wstring NoticeText() {
        messages.clear();
        snapora->RequestPeriodicCapture(true);
        return messages.empty() ? std::wstring() : messages.back();
    }

    std::unique_ptr<app::SnaporaApp> snapora;
    std::vector<std::wstring> messages;
};

} // namespace

TEST_F(HotKeysInForce, TheDefaultsReadWordForWordAsBefore) {
    EXPECT_TRUE(messages.empty());
    const Item items[] = {Item::FullScreen,  Item::ActiveWindow,  Item::Object,      Item::SelectedRegion,
                          Item::FixedRegion, Item::StartPeriodic, Item::StopPeriodic};
    const wchar_t* labels[] = {L"Ctrl+1", L"Ctrl+2", L"Ctrl+3", L"Ctrl+4", L"Ctrl+5", L"Ctrl+R", L"Ctrl+S"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Label(items[i]), labels[i]);
    EXPECT_EQ(main().HotKeyText().Lines(),
              (std::vector<std::wstring>{L"Ctrl+1\tFull Screen", L"Ctrl+2\tActive Window", L"Ctrl+3\tObject",
                                         L"Ctrl+4\tSelected Region", L"Ctrl+5\tFixed Region",
                                         L"Ctrl+R / Ctrl+S start and", L"stop real-time capture."}));
    EXPECT_EQ(main().HotKeyText().Hint(), L"Pick a method below, then Capture or press Ctrl+1 ... Ctrl+5");
    EXPECT_EQ(NoticeText(), L"Note: The real time capture will be on. You can stop it with hotkey Ctrl+S or system "
                            L"tray menu. Start now?");
}

TEST_F(HotKeysInForce, TheFieldTakesPrintScreenFromItsKeyUpAndBackspaceClearsIt) {
    HWND field = Field(HotKeyCommand::CaptureKey);
    ui::HotKeyField* wrapper = &FieldOf(HotKeyCommand::CaptureKey);
    SendMessageW(field, WM_KEYUP, VK_SNAPSHOT, 0xC0000001);
    EXPECT_EQ(wrapper->Key(), static_cast<UINT>(VK_SNAPSHOT));
    EXPECT_EQ(wrapper->Modifiers(), 0u) << "PrintScreen needs no modifier";
    SendMessageW(field, WM_KEYDOWN, VK_BACK, 0x000E0001);
    EXPECT_EQ(wrapper->Key(), 0u);
    // The Windows key, which the field cannot show, survives while the key stays.
    wrapper->SetKey(MOD_WIN | MOD_SHIFT, 'K');
    EXPECT_EQ(wrapper->Modifiers(), static_cast<UINT>(MOD_WIN | MOD_SHIFT));
}

TEST_F(HotKeysInForce, SaveRefusesAKeyGivenTwiceAndOtherwiseKeysAreInForceAtOnce) {
    more().HotKeys().Show(snapora->Options().More.HotKeys, {});
    Set(HotKeyCommand::StopPeriodic, MOD_CONTROL, '3');
    try {
        more().OnSaveClick();
        FAIL() << "two commands with one key were saved";
    } catch (const ui::Error& error) {
        EXPECT_EQ(error.Message(), L"Object and Stop Real Time Capture have the same key, Ctrl+3. Give one of them "
                                   L"another key.");
    }
    EXPECT_FALSE(std::filesystem::exists(settings::ConfigFilePath())) << "a refused Save wrote the file";

    // Another program holds Ctrl+Alt+K before it is chosen.
    ASSERT_TRUE(RegisterHotKey(nullptr, 0x2F01, MOD_CONTROL | MOD_ALT, 'K'));
    Set(HotKeyCommand::FullScreen, MOD_CONTROL | MOD_SHIFT, 'F');
    Set(HotKeyCommand::Object, 0, 0);
    Set(HotKeyCommand::StopPeriodic, MOD_CONTROL | MOD_ALT, 'K');
    Set(HotKeyCommand::CaptureKey, MOD_CONTROL, 'Q');
    more().OnSaveClick();
    UnregisterHotKey(nullptr, 0x2F01);

    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], L"Another program holds these hotkeys, so they do nothing in Snapora:\r\n\r\n"
                           L"Ctrl+Alt+K (Stop Real Time Capture)\r\n\r\nChoose other keys in More Options.");
    EXPECT_TRUE(more().HotKeys().Marked(HotKeyCommand::StopPeriodic));
    EXPECT_FALSE(more().HotKeys().Marked(HotKeyCommand::FullScreen));
    EXPECT_EQ(Label(Item::FullScreen), L"Ctrl+Shift+F");
    EXPECT_EQ(Label(Item::Object), L"");
    EXPECT_EQ(main().HotKeyText().Lines()[2], L"none\tObject");
    EXPECT_EQ(main().HotKeyText().Lines()[5], L"Ctrl+R / Ctrl+Alt+K start and");
    EXPECT_EQ(main().HotKeyText().Hint(), L"Pick a method below, then Capture or press its hotkey");
    EXPECT_EQ(NoticeText(), L"Note: The real time capture will be on. You can stop it with hotkey Ctrl+Alt+K or "
                            L"system tray menu. Start now?");

    // The keys in force are the ones the hotkey messages match.
    EXPECT_EQ(snapora->HotKeys().Match(MAKELPARAM(MOD_CONTROL | MOD_SHIFT, 'F')), (app::HotKey{app::HotKeyAction::Capture, CaptureMethod::FullScreen}));
    EXPECT_FALSE(snapora->HotKeys().Match(MAKELPARAM(MOD_CONTROL, '1')));
    EXPECT_FALSE(snapora->HotKeys().Match(MAKELPARAM(MOD_CONTROL, '3')));

    // Reset brings every default back into force, with no key left to report.
    messages.clear();
    more().OnResetClick();
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(Label(Item::FullScreen), L"Ctrl+1");
    EXPECT_FALSE(more().HotKeys().Marked(HotKeyCommand::StopPeriodic));
    EXPECT_EQ(snapora->Options().More.HotKeys, settings::DefaultHotKeys());

    // Two commands swap their keys: neither is taken for another program's.
    Set(HotKeyCommand::FullScreen, MOD_CONTROL, '2');
    Set(HotKeyCommand::ActiveWindow, MOD_CONTROL, '1');
    more().OnSaveClick();
    EXPECT_EQ(messages, std::vector<std::wstring>{L"The config file is saved!"});
    EXPECT_EQ(snapora->HotKeys().Match(MAKELPARAM(MOD_CONTROL, '2')), (app::HotKey{app::HotKeyAction::Capture, CaptureMethod::FullScreen}));
    EXPECT_EQ(snapora->HotKeys().Match(MAKELPARAM(MOD_CONTROL, '1')), (app::HotKey{app::HotKeyAction::Capture, CaptureMethod::ActiveWindow}));
}
