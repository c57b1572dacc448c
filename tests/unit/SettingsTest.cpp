#include "settings/FullScreenAreaGroup.h"
#include "settings/Options.h"
#include "tests/support/Files.h"
#include "tests/unit/TestForm.h"
#include "ui/Error.h"

#include <gtest/gtest.h>

#include <windows.h>

using settings::CaptureOptions;
using settings::IniFile;
using settings::ParseIniInteger;
using support::ReadFileBytes;
using support::TempFolder;
using support::WriteFileBytes;

TEST(IniInteger, ReadsDecimalAndBothHexadecimalForms) {
    EXPECT_EQ(ParseIniInteger(L"30000"), 30000);
    EXPECT_EQ(ParseIniInteger(L"-12"), -12);
    EXPECT_EQ(ParseIniInteger(L"+7"), 7);
    EXPECT_EQ(ParseIniInteger(L"0x7530"), 30000);
    EXPECT_EQ(ParseIniInteger(L"0X7530"), 30000);
    EXPECT_EQ(ParseIniInteger(L"$7530"), 30000);
    EXPECT_EQ(ParseIniInteger(L"$FFFFFFFF"), -1);
    EXPECT_EQ(ParseIniInteger(L"-2147483648"), INT32_MIN);
}

TEST(IniInteger, RejectsAnythingElse) {
    for (const wchar_t* text : {L"", L"yes", L"12abc", L"0x", L"$", L"1.5", L"2147483648", L"0x1FFFFFFFF", L"- 3"})
        EXPECT_FALSE(ParseIniInteger(text).has_value()) << std::string(text, text + wcslen(text));
}

TEST(Settings, MissingFileGivesDefaults) {
    TempFolder folder;
    IniFile file(folder.File(L"config.ini"));
    CaptureOptions options;
    options.FixedRegionWidth = 99;
    options.PeriodicFolder = L"stale";
    options.More.PeriodicKeepFiles = 7;
    settings::LoadOptions(file, options);
    EXPECT_FALSE(options.StartupSuspend);
    EXPECT_FALSE(options.IncludeCursor);
    EXPECT_EQ(options.FixedRegionWidth, 0);
    EXPECT_EQ(options.FixedRegionHeight, 0);
    EXPECT_EQ(options.Interval, 0);
    EXPECT_EQ(options.IntervalUnit, L"");
    EXPECT_EQ(options.PeriodicSourceIndex, 0);
    EXPECT_EQ(options.PeriodicFolder, L"");
    EXPECT_FALSE(options.More.PeriodicSkipUnchanged);
    EXPECT_EQ(options.More.PeriodicKeepFiles, 0);
    EXPECT_EQ(options.More.PeriodicFormat, settings::PeriodicFileFormat::Jpeg);
    EXPECT_FALSE(std::filesystem::exists(folder.File(L"config.ini"))) << "reading must never create the file";
}

TEST(Settings, ReadsValuesWhateverTheirCaseSpacingQuotesAndNotation) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    WriteFileBytes(path, "[options]\r\n"
                         "includecursor=2\r\n"
                         "StartupSuspend=yes\r\n"
                         "FIXEDREGIONWIDTH =   640  \r\n"
                         "FixedRegionHeight=\"480\"\r\n"
                         "Interval=$7530\r\n"
                         "IntervalCent='Minutes'\r\n"
                         "CaptureIndex=7\r\n"
                         "RealSavePath=C:\\shots\\\r\n");
    IniFile file(path);
    CaptureOptions options;
    settings::LoadOptions(file, options);
    EXPECT_TRUE(options.IncludeCursor);
    EXPECT_FALSE(options.StartupSuspend);
    EXPECT_EQ(options.FixedRegionWidth, 640);
    EXPECT_EQ(options.FixedRegionHeight, 480);
    EXPECT_EQ(options.Interval, 30000);
    EXPECT_EQ(options.IntervalUnit, L"Minutes");
    EXPECT_EQ(options.PeriodicSourceIndex, 7);
    EXPECT_EQ(options.PeriodicFolder, L"C:\\shots\\");

    WriteFileBytes(path, "[Options]\r\nInterval=0x7530\r\nFixedRegionWidth=wide\r\nStartupSuspend=1\r\n");
    settings::LoadOptions(file, options);
    EXPECT_EQ(options.Interval, 30000);
    EXPECT_EQ(options.FixedRegionWidth, 0);
    EXPECT_TRUE(options.StartupSuspend);
}

// The hotkeys at their defaults, as every save and reset writes them after the other keys.
const std::string kDefaultHotKeyLines = "HotKeyFullScreen=Ctrl+1\r\n"
                                        "HotKeyActiveWindow=Ctrl+2\r\n"
                                        "HotKeyObject=Ctrl+3\r\n"
                                        "HotKeySelectedRegion=Ctrl+4\r\n"
                                        "HotKeyFixedRegion=Ctrl+5\r\n"
                                        "HotKeyStartPeriodic=Ctrl+R\r\n"
                                        "HotKeyStopPeriodic=Ctrl+S\r\n"
                                        "CaptureKey=Ctrl+D\r\n";

TEST(Settings, ResetWritesTheTenLinesAndTheAddedKeysThenSaveRewritesInPlace) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    IniFile file(path);
    CaptureOptions options;
    options.StartupSuspend = true;
    options.IncludeCursor = true;
    settings::ResetOptions(file, options);

    EXPECT_EQ(ReadFileBytes(path), "[Options]\r\n"
                                   "FixedRegionWidth=320\r\n"
                                   "FixedRegionHeight=240\r\n"
                                   "StartupSuspend=0\r\n"
                                   "IncludeCursor=0\r\n"
                                   "RealTime=0\r\n"
                                   "Interval=30000\r\n"
                                   "IntervalCent=Seconds\r\n"
                                   "CaptureIndex=0\r\n"
                                   "RealSavePath=D:\\output\r\n"
                                   "FullScreenArea=0\r\n" +
                                       kDefaultHotKeyLines +
                                       "PeriodicSkipUnchanged=0\r\n"
                                       "PeriodicKeepFiles=0\r\n"
                                       "PeriodicFormat=jpg\r\n");
    EXPECT_FALSE(options.StartupSuspend);
    EXPECT_FALSE(options.IncludeCursor);
    EXPECT_EQ(options.FixedRegionWidth, 320);
    EXPECT_EQ(options.Interval, 30000);
    EXPECT_EQ(options.PeriodicFolder, L"D:\\output");

    options.FixedRegionWidth = 100;
    options.IncludeCursor = true;
    options.IntervalUnit = L"Hours";
    options.PeriodicFolder = L"C:\\out";
    options.More.FullScreenArea = settings::ScreenArea::AllMonitors;
    options.More.PeriodicSkipUnchanged = true;
    options.More.PeriodicKeepFiles = 3;
    options.More.PeriodicFormat = settings::PeriodicFileFormat::Png;
    settings::SaveOptions(file, options);
    EXPECT_EQ(ReadFileBytes(path), "[Options]\r\n"
                                   "FixedRegionWidth=100\r\n"
                                   "FixedRegionHeight=240\r\n"
                                   "StartupSuspend=0\r\n"
                                   "IncludeCursor=1\r\n"
                                   "RealTime=0\r\n"
                                   "Interval=30000\r\n"
                                   "IntervalCent=Hours\r\n"
                                   "CaptureIndex=0\r\n"
                                   "RealSavePath=C:\\out\r\n"
                                   "FullScreenArea=2\r\n" +
                                       kDefaultHotKeyLines +
                                       "PeriodicSkipUnchanged=1\r\n"
                                       "PeriodicKeepFiles=3\r\n"
                                       "PeriodicFormat=png\r\n");
    CaptureOptions reloaded;
    settings::LoadOptions(file, reloaded);
    EXPECT_EQ(reloaded.More.FullScreenArea, settings::ScreenArea::AllMonitors);
    EXPECT_TRUE(reloaded.More.PeriodicSkipUnchanged);
    EXPECT_EQ(reloaded.More.PeriodicKeepFiles, 3);
    EXPECT_EQ(reloaded.More.PeriodicFormat, settings::PeriodicFileFormat::Png);
}

TEST(Settings, OddAddedValuesReadAsTheirNearestMeaning) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    IniFile file(path);
    CaptureOptions options;
    for (const char* line :
         {"", "FullScreenArea=3\r\n", "FullScreenArea=-1\r\n", "FullScreenArea=two\r\n", "FullScreenArea=1\r\n"}) {
        WriteFileBytes(path, std::string("[Options]\r\n") + line);
        options.More.FullScreenArea = settings::ScreenArea::AllMonitors;
        settings::LoadOptions(file, options);
        EXPECT_EQ(options.More.FullScreenArea, std::string(line) == "FullScreenArea=1\r\n"
                                                   ? settings::ScreenArea::MonitorUnderMouse
                                                   : settings::ScreenArea::PrimaryMonitor)
            << line;
    }
    WriteFileBytes(path, "[Options]\r\nPeriodicSkipUnchanged=yes\r\nPeriodicKeepFiles=-4\r\nPeriodicFormat=PNG\r\n");
    settings::LoadOptions(file, options);
    EXPECT_FALSE(options.More.PeriodicSkipUnchanged) << "a word is no number";
    EXPECT_EQ(options.More.PeriodicKeepFiles, 0) << "a negative budget keeps all";
    EXPECT_EQ(options.More.PeriodicFormat, settings::PeriodicFileFormat::Png) << "in any letter case";
    WriteFileBytes(path, "[Options]\r\nPeriodicFormat=gif\r\n");
    settings::LoadOptions(file, options);
    EXPECT_EQ(options.More.PeriodicFormat, settings::PeriodicFileFormat::Jpeg);
}

TEST(Settings, SaveKeepsLinesItDoesNotOwn) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    WriteFileBytes(path, "; my notes\r\n[Other]\r\nKey=1\r\n[Options]\r\nRealTime=1\r\n");
    IniFile file(path);
    CaptureOptions options;
    options.Interval = 5000;
    settings::SaveOptions(file, options);
    const std::string text = ReadFileBytes(path);
    EXPECT_NE(text.find("; my notes"), std::string::npos);
    EXPECT_NE(text.find("[Other]\r\nKey=1"), std::string::npos);
    EXPECT_NE(text.find("RealTime=1"), std::string::npos);
    EXPECT_NE(text.find("Interval=5000"), std::string::npos);
}

TEST(Settings, ReadOnlyFileRaisesUnableToWriteAndKeepsTheFile) {
    TempFolder folder;
    const std::wstring path = folder.File(L"config.ini");
    const std::string original = "[Options]\r\nFixedRegionWidth=1\r\n";
    WriteFileBytes(path, original);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    IniFile file(path);
    CaptureOptions options;
    options.FixedRegionWidth = 500;
    try {
        settings::SaveOptions(file, options);
        FAIL() << "a save into a read-only file succeeded";
    } catch (const ui::Error& error) {
        EXPECT_EQ(error.Message(), L"Unable to write to " + path);
    }
    EXPECT_EQ(ReadFileBytes(path), original);

    // A failed Reset does not reload: the record keeps what Reset assigned.
    options.StartupSuspend = true;
    EXPECT_THROW(settings::ResetOptions(file, options), ui::Error);
    EXPECT_TRUE(options.StartupSuspend);
    EXPECT_EQ(options.FixedRegionWidth, 320);
}

TEST(Settings, UnwritableFileRaisesUnableToWrite) {
    TempFolder folder;
    CaptureOptions options;
    IniFile missingFolder(folder.File(L"no such folder\\config.ini"));
    EXPECT_THROW(settings::SaveOptions(missingFolder, options), ui::Error);

    // Another program holding the file open without sharing.
    const std::wstring path = folder.File(L"config.ini");
    WriteFileBytes(path, "[Options]\r\n");
    HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    IniFile file(path);
    EXPECT_THROW(settings::SaveOptions(file, options), ui::Error);
    CloseHandle(held);
}

TEST(FullScreenAreaGroup, ShowsTheSettingAndTakesTheUsersChoice) {
    testing_support::TestForm form;
    settings::FullScreenAreaGroup group(form, {10, 10}, 260, nullptr, CLR_INVALID);
    using settings::ScreenArea;
    group.Show(ScreenArea::AllMonitors);
    EXPECT_EQ(group.Chosen(), ScreenArea::AllMonitors);
    EXPECT_FALSE(group.Choice(ScreenArea::PrimaryMonitor).Checked());
    group.Show(ScreenArea::PrimaryMonitor);
    EXPECT_FALSE(group.Choice(ScreenArea::AllMonitors).Checked()) << "two choices marked";
    EXPECT_EQ(group.Chosen(), ScreenArea::PrimaryMonitor);
    // What a user's click does.
    SendMessageW(group.Choice(ScreenArea::MonitorUnderMouse).Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(group.Chosen(), ScreenArea::MonitorUnderMouse);
    EXPECT_EQ(group.Choice(ScreenArea::MonitorUnderMouse).Text(), L"The monitor under the mouse");
}

TEST(SettingsValues, TheThreeUnitsAreNamedExactlyAnyOtherTextIsKeptAndOnlyIndexZeroIsFullScreen) {
    using settings::TimeUnit;
    const struct {
        const wchar_t* text;
        TimeUnit::Kind kind;
        std::optional<int> milliseconds;
    } units[] = {
        {L"Seconds", TimeUnit::Kind::Seconds, 1000},
        {L"Minutes", TimeUnit::Kind::Minutes, 60000},
        {L"Hours", TimeUnit::Kind::Hours, 3600000},
        {L"minutes", TimeUnit::Kind::Unrecognised, std::nullopt},
        {L"Weeks", TimeUnit::Kind::Unrecognised, std::nullopt},
        {L"", TimeUnit::Kind::Unrecognised, std::nullopt},
    };
    for (const auto& unit : units) {
        const TimeUnit parsed(unit.text);
        EXPECT_EQ(parsed.GetKind(), unit.kind) << testing::PrintToString(std::wstring(unit.text));
        EXPECT_EQ(parsed.Text(), unit.text);
        EXPECT_EQ(parsed.Milliseconds(), unit.milliseconds);
    }
    EXPECT_EQ(TimeUnit(TimeUnit::Kind::Hours), TimeUnit(L"Hours"));
    EXPECT_NE(TimeUnit(L"weeks"), TimeUnit(L"Weeks"));
    EXPECT_EQ(TimeUnit(), TimeUnit(L""));

    EXPECT_EQ(settings::PeriodicSourceOf(0), settings::PeriodicSource::FullScreen);
    for (int index : {1, 7, -1, -3})
        EXPECT_EQ(settings::PeriodicSourceOf(index), settings::PeriodicSource::ActiveWindow) << index;
}
