// The hotkeys as config.ini and the user read them.
#include "settings/Options.h"
#include "tests/support/Files.h"

#include <gtest/gtest.h>

using settings::HotKeyCommand;
using settings::KeyCombination;
using settings::KeyCombinationText;
using settings::ParseKeyCombination;

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

} // namespace

TEST(KeyCombinationText, EveryCombinationReadsBackAsItWasWritten) {
    const struct {
        KeyCombination combination;
        const wchar_t* text;
    } cases[] = {
        {{MOD_CONTROL, '1'}, L"Ctrl+1"},
        {{MOD_CONTROL | MOD_SHIFT, 'F'}, L"Ctrl+Shift+F"},
        {{MOD_ALT, VK_SNAPSHOT}, L"Alt+PrintScreen"},
        {{0, VK_SNAPSHOT}, L"PrintScreen"},
        {{MOD_WIN | MOD_ALT | MOD_SHIFT | MOD_CONTROL, VK_F12}, L"Ctrl+Shift+Alt+Win+F12"},
        {{MOD_CONTROL, VK_ADD}, L"Ctrl+Num+"},
        {{MOD_CONTROL, VK_OEM_MINUS}, L"Ctrl+-"},
        {{MOD_SHIFT, VK_PRIOR}, L"Shift+PageUp"},
        {{MOD_CONTROL, 0xE2}, L"Ctrl+#226"},
        {{}, L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyCombinationText(c.combination), c.text);
        EXPECT_EQ(ParseKeyCombination(c.text), c.combination) << Narrow(c.text);
    }
}

TEST(KeyCombinationText, ReadsAnyLetterCaseAndBlanksAndRefusesWhatNamesNoKey) {
    EXPECT_EQ(ParseKeyCombination(L" ctrl + shift + f "), (KeyCombination{MOD_CONTROL | MOD_SHIFT, 'F'}));
    EXPECT_EQ(ParseKeyCombination(L"printscreen"), (KeyCombination{0, VK_SNAPSHOT}));
    EXPECT_EQ(ParseKeyCombination(L"Shift+Ctrl+f24"), (KeyCombination{MOD_CONTROL | MOD_SHIFT, VK_F24}));
    EXPECT_EQ(ParseKeyCombination(L"  "), KeyCombination{});
    for (const wchar_t* text :
         {L"Ctrl+", L"Ctrl+Banana", L"Ctrl", L"F25", L"F0", L"Ctrl+Shift", L"+", L"Ctrl++", L"#0", L"#300", L"Hyper+A"})
        EXPECT_FALSE(ParseKeyCombination(text)) << Narrow(text);
}

TEST(HotKeySettings, AFileOfTodayGivesTheDefaultsAnEmptyValueNoKeyAndABadOneTheDefault) {
    support::TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    settings::IniFile file(path);
    settings::CaptureOptions options;
    options.More.HotKeys.fill({MOD_ALT, 'Z'});
    support::WriteFileBytes(path, "[Options]\r\nInterval=1000\r\n");
    settings::LoadOptions(file, options);
    EXPECT_EQ(options.More.HotKeys, settings::DefaultHotKeys());
    EXPECT_EQ(options.More.HotKeys[static_cast<int>(HotKeyCommand::StopPeriodic)], (KeyCombination{MOD_CONTROL, 'S'}));
    EXPECT_EQ(options.More.HotKeys[static_cast<int>(HotKeyCommand::CaptureKey)], (KeyCombination{MOD_CONTROL, 'D'}));

    support::WriteFileBytes(path, "[Options]\r\nHotKeyFullScreen=ctrl+shift+f\r\nHotKeyObject=\r\n"
                                  "HotKeyFixedRegion=Ctrl+Nothing\r\nCaptureKey=Ctrl+Q\r\n");
    settings::LoadOptions(file, options);
    auto key = [&](HotKeyCommand command) { return options.More.HotKeys[static_cast<int>(command)]; };
    EXPECT_EQ(key(HotKeyCommand::FullScreen), (KeyCombination{MOD_CONTROL | MOD_SHIFT, 'F'}));
    EXPECT_TRUE(key(HotKeyCommand::Object).Empty());
    EXPECT_EQ(key(HotKeyCommand::FixedRegion), (KeyCombination{MOD_CONTROL, '5'}));
    EXPECT_EQ(key(HotKeyCommand::CaptureKey), (KeyCombination{MOD_CONTROL, 'Q'}));

    // Saved as the user reads them, and read back the same.
    settings::SaveOptions(file, options);
    const std::string text = support::ReadFileBytes(path);
    EXPECT_NE(text.find("HotKeyFullScreen=Ctrl+Shift+F\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find("HotKeyObject=\r\n"), std::string::npos) << text;
    settings::CaptureOptions reread;
    settings::LoadOptions(file, reread);
    EXPECT_EQ(reread.More.HotKeys, options.More.HotKeys);
}

TEST(HotKeySettings, TwoCommandsSharingAKeyAreFoundButCommandsWithoutAKeyShareNothing) {
    settings::HotKeyTable keys = settings::DefaultHotKeys();
    EXPECT_FALSE(settings::FindSharedKey(keys));
    keys[static_cast<int>(HotKeyCommand::Object)] = {};
    keys[static_cast<int>(HotKeyCommand::FixedRegion)] = {};
    EXPECT_FALSE(settings::FindSharedKey(keys));
    keys[static_cast<int>(HotKeyCommand::CaptureKey)] = {MOD_CONTROL, 'R'};
    const auto shared = settings::FindSharedKey(keys);
    ASSERT_TRUE(shared);
    EXPECT_EQ(shared->first, HotKeyCommand::StartPeriodic);
    EXPECT_EQ(shared->second, HotKeyCommand::CaptureKey);
}
