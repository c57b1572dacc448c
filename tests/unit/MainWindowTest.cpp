// Periodic capture as the tray menu, the main window's check box and the
// hotkeys drive it: the confirmation, the menu's marks and enabled
// items, and the tray tip that tells the user pictures are being written.
#include "tests/support/Files.h"
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "app/SnaporaApp.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using Item = app::Tray::Item;

class MainWindowPeriodic : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().SetTitle(L"Velonix Capture");
        ui::App().MessageHandler = [this](const std::wstring& text, UINT) {
            notices.push_back(text);
            return answer;
        };
        snapora = std::make_unique<app::SnaporaApp>();
        snapora->Options().Interval = 30000;
    }
    void TearDown() override {
        snapora.reset();
        ui::App().MessageHandler = nullptr;
    }

    app::MainWindow& main() { return snapora->MainWindow(); }
    ui::PopupMenu& menu() { return snapora->Tray().Menu(); }
    bool Enabled(Item item) { return menu().Enabled(static_cast<int>(item)); }
    bool Checked(Item item) { return menu().Checked(static_cast<int>(item)); }
    void Choose(Item item) { menu().Choose(static_cast<int>(item)); }
    // The state of the five method items, all alike.
    bool MethodsEnabled() {
        for (Item item : {Item::FullScreen, Item::ActiveWindow, Item::Object, Item::SelectedRegion, Item::FixedRegion})
            if (!Enabled(item)) return false;
        return true;
    }

    std::unique_ptr<app::SnaporaApp> snapora;
    int answer = IDOK;
    std::vector<std::wstring> notices;
};

} // namespace

TEST_F(MainWindowPeriodic, TheTrayItemsFollowStartCancelOkAndStop) {
    EXPECT_EQ(GetWindow(main().Handle(), GW_OWNER), ui::App().HiddenOwner()) << "the program has a taskbar button";
    EXPECT_FALSE(IsWindowVisible(main().Handle())) << "shown before the message loop runs";
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
    EXPECT_TRUE(MethodsEnabled());
    EXPECT_TRUE(Enabled(Item::StartPeriodic) && Enabled(Item::StopPeriodic));

    // "Real Time Capture", answered Cancel: nothing runs, but the menu keeps
    // its marks until "Stop Real Time Capture".
    answer = IDCANCEL;
    Choose(Item::StartPeriodic);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices[0].find(L"Start now?"), std::wstring::npos);
    EXPECT_FALSE(main().PeriodicChecked());
    EXPECT_FALSE(snapora->Periodic().Running());
    EXPECT_FALSE(MethodsEnabled());
    EXPECT_TRUE(Checked(Item::StartPeriodic));
    EXPECT_FALSE(Enabled(Item::StartPeriodic));
    EXPECT_TRUE(Enabled(Item::StopPeriodic));
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
    Choose(Item::StopPeriodic);
    EXPECT_TRUE(MethodsEnabled());
    EXPECT_TRUE(Enabled(Item::StartPeriodic));
    EXPECT_FALSE(Enabled(Item::StopPeriodic));

    // Answered OK: it runs every 30 s, the mark is gone again, the tip says so
    // and the trigger stops listening until the first picture.
    answer = IDOK;
    Choose(Item::StartPeriodic);
    EXPECT_TRUE(main().PeriodicChecked());
    EXPECT_TRUE(snapora->Periodic().Running());
    EXPECT_EQ(snapora->Periodic().Interval(), 30000);
    EXPECT_FALSE(Checked(Item::StartPeriodic));
    EXPECT_FALSE(snapora->Trigger().Listening());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture - every 30 s, 0 pictures");

    // Ctrl+S: stopped, the tip is plain again, the trigger listens.
    snapora->OnHotKey(MAKELPARAM(MOD_CONTROL, 'S'));
    EXPECT_FALSE(main().PeriodicChecked());
    EXPECT_FALSE(snapora->Periodic().Running());
    EXPECT_TRUE(snapora->Trigger().Listening());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
    EXPECT_EQ(notices.size(), 2u) << "stopping asked something";

    // A period of 0 (no settings file) shows the box on but writes nothing.
    snapora->Options().Interval = 0;
    snapora->OnHotKey(MAKELPARAM(MOD_CONTROL, 'R'));
    EXPECT_TRUE(main().PeriodicChecked());
    EXPECT_FALSE(snapora->Periodic().Running());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
}

TEST(DescribePeriod, SaysThePeriodInTheLargestWholeUnitAndTheTipAddsTheProgress) {
    capture::PeriodicProgress progress{.written = 12, .skipped = 3, .lastWritten = SYSTEMTIME{}};
    progress.lastWritten->wHour = 14, progress.lastWritten->wMinute = 7, progress.lastWritten->wSecond = 9;
    EXPECT_EQ(app::PeriodicTrayTip(L"Velonix Capture", 30000, progress, false),
              L"Velonix Capture - every 30 s, 12 pictures, last 14:07:09");
    EXPECT_EQ(app::PeriodicTrayTip(L"Velonix Capture", 300000, progress, true),
              L"Velonix Capture - every 5 min, 12 pictures, 3 skipped, last 14:07:09");
    EXPECT_EQ(app::DescribePeriod(30000), L"30 s");
    EXPECT_EQ(app::DescribePeriod(300000), L"5 min");
    EXPECT_EQ(app::DescribePeriod(7200000), L"2 h");
    EXPECT_EQ(app::DescribePeriod(1500), L"1500 ms");
}

TEST_F(MainWindowPeriodic, TicksWriteNothingWhileTheSessionIsLockedOrTheDisplayOffAndTheTipCounts) {
    support::TempFolder folder;
    snapora->Options().PeriodicFolder = folder.Path().wstring();
    snapora->Options().More.PeriodicSkipUnchanged = true;
    snapora->OnHotKey(MAKELPARAM(MOD_CONTROL, 'R'));
    ASSERT_TRUE(snapora->Periodic().Running());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture - every 30 s, 0 pictures, 0 skipped");
    auto pictures = [&] {
        return std::distance(std::filesystem::directory_iterator(folder.Path()), std::filesystem::directory_iterator());
    };

    // The display's state arrives as a pointer, so it is handed over here in
    // the process; 2 is a dimmed display, which still shows the desktop.
    auto display = [&](DWORD state) {
        alignas(POWERBROADCAST_SETTING) unsigned char buffer[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)]{};
        auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(buffer);
        setting->PowerSetting = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
        setting->DataLength = sizeof state;
        std::memcpy(setting->Data, &state, sizeof state);
        SendMessageW(main().Handle(), WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
    };
    struct Case {
        UINT message;
        WPARAM value;
        bool paused;
    };
    const Case cases[] = {{WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, true},
                          {WM_POWERBROADCAST, 0, true},
                          {WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, true},
                          {WM_POWERBROADCAST, 2, false},
                          {WM_POWERBROADCAST, 0, true},
                          {WM_POWERBROADCAST, 1, false},
                          {WM_WTSSESSION_CHANGE, WTS_SESSION_LOGON, false}};
    for (const Case& c : cases) {
        if (c.message == WM_POWERBROADCAST)
            display(static_cast<DWORD>(c.value));
        else
            SendMessageW(main().Handle(), c.message, c.value, 0);
        EXPECT_EQ(snapora->Periodic().Paused(), c.paused) << c.message << " " << c.value;
        const auto before = pictures();
        snapora->Periodic().Tick();
        if (c.paused) {
            EXPECT_EQ(pictures(), before) << "a paused tick wrote";
        }
    }
    // Whether a tick found the screen unchanged depends on what else the
    // screen shows meanwhile; every tick that was not paused counts once.
    const capture::PeriodicProgress& progress = snapora->Periodic().Progress();
    EXPECT_EQ(progress.written + progress.skipped, 3);
    EXPECT_GE(progress.written, 1);
    EXPECT_EQ(pictures(), progress.written);
    ASSERT_TRUE(progress.lastWritten);
    EXPECT_EQ(snapora->Tray().Icon().Tip(), app::PeriodicTrayTip(L"Velonix Capture", 30000, progress, true));
}
