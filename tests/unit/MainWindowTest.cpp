// Periodic capture as the tray menu, the main window's check box and the
// hotkeys drive it: the confirmation, the menu's marks and enabled
// items, and the tray tip that tells the user pictures are being written.
#include "tests/support/Input.h"
#include "tests/support/Picture.h"
#include "tests/support/Wait.h"
#include "app/SnaporaApp.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

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
    // and the trigger's polls stop until the first picture.
    answer = IDOK;
    Choose(Item::StartPeriodic);
    EXPECT_TRUE(main().PeriodicChecked());
    EXPECT_TRUE(snapora->Periodic().Running());
    EXPECT_EQ(snapora->Periodic().Interval(), 30000);
    EXPECT_FALSE(Checked(Item::StartPeriodic));
    EXPECT_FALSE(snapora->Trigger().TimerRunning());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture - periodic capture every 30 s");

    // Ctrl+S: stopped, the tip is plain again, the trigger polls.
    snapora->OnHotKey(MAKELPARAM(MOD_CONTROL, 'S'));
    EXPECT_FALSE(main().PeriodicChecked());
    EXPECT_FALSE(snapora->Periodic().Running());
    EXPECT_TRUE(snapora->Trigger().TimerRunning());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
    EXPECT_EQ(notices.size(), 2u) << "stopping asked something";

    // A period of 0 (no settings file) shows the box on but writes nothing.
    snapora->Options().Interval = 0;
    snapora->OnHotKey(MAKELPARAM(MOD_CONTROL, 'R'));
    EXPECT_TRUE(main().PeriodicChecked());
    EXPECT_FALSE(snapora->Periodic().Running());
    EXPECT_EQ(snapora->Tray().Icon().Tip(), L"Velonix Capture");
}

TEST(DescribePeriod, SaysThePeriodInTheLargestWholeUnit) {
    EXPECT_EQ(app::DescribePeriod(30000), L"30 s");
    EXPECT_EQ(app::DescribePeriod(300000), L"5 min");
    EXPECT_EQ(app::DescribePeriod(7200000), L"2 h");
    EXPECT_EQ(app::DescribePeriod(1500), L"1500 ms");
}
