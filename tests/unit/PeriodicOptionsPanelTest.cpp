// The group of periodic capture's further settings on a real hidden window:
// what it shows for the settings, and what it takes back from boxes typed
// into, refusing a number of pictures it cannot keep without changing anything.
#include "settings/PeriodicOptionsPanel.h"
#include "tests/support/Windows.h"
#include "ui/Error.h"
#include "tests/unit/TestForm.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cwchar>
#include <string>

TEST(PeriodicOptionsPanel, ShowsTheSettingsAndTakesBackOnlyWhatItCanKeep) {
    testing_support::TestForm host(440, 200, WS_OVERLAPPEDWINDOW);
    settings::PeriodicOptionsPanel panel(host, {24, 24}, nullptr, CLR_INVALID);
    const auto controls = panel.Handles();

    settings::CaptureOptions options;
    options.More.PeriodicSkipUnchanged = true;
    options.More.PeriodicKeepFiles = 250;
    options.More.PeriodicFormat = settings::PeriodicFileFormat::Png;
    panel.Fill(options);
    EXPECT_TRUE(support::IsChecked(controls.skipUnchangedCheck));
    EXPECT_EQ(support::WindowCaption(controls.keepFilesEdit), L"250");
    EXPECT_EQ(support::WindowCaption(controls.formatCombo), L"PNG (.png), lossless");

    // The user's changes: skipping off, JPEG, and a budget the box refuses.
    SendMessageW(controls.skipUnchangedCheck, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(controls.formatCombo, CB_SETCURSEL, 0, 0);
    for (const wchar_t* refused : {L"-1", L"1000001", L"many"}) {
        SetWindowTextW(controls.keepFilesEdit, refused);
        EXPECT_THROW(panel.Take(options), ui::Error) << std::string(refused, refused + wcslen(refused));
        EXPECT_TRUE(options.More.PeriodicSkipUnchanged) << "a refused Save changed a setting";
        EXPECT_EQ(options.More.PeriodicKeepFiles, 250);
    }
    SetWindowTextW(controls.keepFilesEdit, L"3");
    panel.Take(options);
    EXPECT_FALSE(options.More.PeriodicSkipUnchanged);
    EXPECT_EQ(options.More.PeriodicKeepFiles, 3);
    EXPECT_EQ(options.More.PeriodicFormat, settings::PeriodicFileFormat::Jpeg);
}
