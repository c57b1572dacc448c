// The Options window in-process: the values it reads from its boxes, and the
// real window shown modally with config.ini in a temporary folder, driven
// from inside its modal loop by steps that type into its boxes and click its
// buttons as the user would.
#include "RecordedBoxes.h"
#include "tests/support/Files.h"
#include "tests/support/Windows.h"
#include "settings/OptionValues.h"
#include "settings/MoreOptionsWindow.h"
#include "settings/OptionsWindow.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/FolderBrowser.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

using settings::CaptureOptions;
using settings::IniFile;
using settings::OptionsWindow;
using support::IsChecked;
using support::Narrow;
using support::ReadFileBytes;
using support::TempFolder;
using support::WindowCaption;
using support::WriteFileBytes;

namespace {

// What a reader gives: the value, or the message of the error it throws.
template <typename Fn> std::wstring Outcome(Fn&& read) {
    try {
        return std::to_wstring(read());
    } catch (const ui::Error& error) {
        return L"error: " + error.Message();
    }
}

// Steps run one after another inside the window's modal loop, one per tick of
// a short timer, since timers keep running there. When the steps are done and
// the window is still open, it is closed, so that a test never hangs. One
// script serves one showing.
class WhileShown {
public:
    WhileShown(settings::SettingsDialog& window, std::vector<std::function<void()>> steps)
        : window_(window), steps_(std::move(steps)) {
        timer_.OnTimer = [this] {
            // A step may open a nested modal loop (the folder browser) in
            // which the next steps run: the count moves on first.
            if (next_ < steps_.size()) {
                const size_t step = next_++;
                steps_[step]();
            } else {
                timer_.SetEnabled(false);
                if (window_.IsModal()) PostMessageW(window_.Handle(), WM_CLOSE, 0, 0);
            }
        };
    }
    // Shows the window modally; the steps run until it closes, and no later.
    void Show() {
        window_.ShowModal();
        timer_.SetEnabled(false);
    }
    size_t StepsRun() const { return next_; }

private:
    settings::SettingsDialog& window_;
    std::vector<std::function<void()>> steps_;
    size_t next_ = 0;
    ui::Timer timer_{40, true};
};

// A left click at a point of the window's client area, through the window's
// own mouse handling.
void ClickAt(const settings::SettingsDialog& window, POINT at) {
    const LPARAM where = MAKELPARAM(at.x, at.y);
    SendMessageW(window.Handle(), WM_MOUSEMOVE, 0, where);
    SendMessageW(window.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
    SendMessageW(window.Handle(), WM_LBUTTONUP, 0, where);
}

// The middle of the Save, Reset and browse buttons.
constexpr POINT kSaveButton{120 + 73 / 2, 440 + 30};
constexpr POINT kResetButton{256 + 81 / 2, 440 + 30};
constexpr POINT kBrowseButton{24 + 320 + 28, 240 + 112 + 28};

struct MessageBoxSeen {
    std::wstring text;
    UINT type;
};

class OptionsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ui::App().MessageHandler = [this](const std::wstring& text, UINT type) {
            messages.push_back({text, type});
            return IDOK;
        };
    }

    void Load() { settings::LoadOptions(file, options); }

    TempFolder folder;
    std::wstring configPath = folder.File(L"config.ini");
    IniFile file{configPath};
    CaptureOptions options;
    RecordedBoxes boxes; // errors; its message recorder is replaced in SetUp
    std::vector<MessageBoxSeen> messages;
};

} // namespace

TEST(OptionValues, IntervalArithmeticAndItsRefusals) {
    struct Case {
        const wchar_t* number;
        const wchar_t* unit;
        std::wstring expected;
    };
    const Case cases[] = {
        {L"5", L"Minutes", L"300000"},
        {L"2", L"Hours", L"7200000"},
        {L"30", L"Seconds", L"30000"},
        {L" 45 ", L"Seconds", L"45000"},
        {L"0", L"Seconds", L"0"},
        {L"596", L"Hours", L"2145600000"},
        {L"abc", L"Seconds", L"error: 'abc' is not a valid integer value"},
        {L"", L"Minutes", L"error: '' is not a valid integer value"},
        {L"-1", L"Seconds", L"error: The interval cannot be negative"},
        {L"600000", L"Hours", L"error: The interval is too long: the longest is 596 hours"},
        {L"2147484", L"Seconds", L"error: The interval is too long: the longest is 2147483 seconds"},
        {L"5", L"Weeks", L"error: The interval unit must be Seconds, Minutes or Hours"},
        {L"5", L"", L"error: The interval unit must be Seconds, Minutes or Hours"},
        {L"5", L"minutes", L"error: The interval unit must be Seconds, Minutes or Hours"},
        // The unit is checked first: with no unit, the number does not matter.
        {L"abc", L"", L"error: The interval unit must be Seconds, Minutes or Hours"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Outcome([&] { return settings::IntervalMilliseconds(c.number, c.unit); }), c.expected)
            << Narrow(c.number) << " " << Narrow(c.unit);

    // Shown back in the saved unit only when it divides exactly.
    EXPECT_EQ(settings::IntervalNumberText(300000, L"Minutes"), L"5");
    EXPECT_EQ(settings::IntervalNumberText(30000, L"Seconds"), L"30");
    EXPECT_EQ(settings::IntervalNumberText(7200000, L"Hours"), L"2");
    EXPECT_EQ(settings::IntervalNumberText(90000, L"Minutes"), std::nullopt);
    EXPECT_EQ(settings::IntervalNumberText(0, L""), std::nullopt);
    EXPECT_EQ(settings::IntervalNumberText(30000, L"Weeks"), std::nullopt);

    // The fixed region's sides: beyond the spin arrows' ranges, up to 16384.
    EXPECT_EQ(Outcome([] { return settings::FixedRegionSide(L"16384", L"width"); }), L"16384");
    EXPECT_EQ(Outcome([] { return settings::FixedRegionSide(L"0", L"width"); }), L"0");
    EXPECT_EQ(Outcome([] { return settings::FixedRegionSide(L"16385", L"height"); }),
              L"error: The fixed height must be between 0 and 16384 pixels");
    EXPECT_EQ(Outcome([] { return settings::FixedRegionSide(L"-1", L"width"); }),
              L"error: The fixed width must be between 0 and 16384 pixels");
    EXPECT_EQ(Outcome([] { return settings::FixedRegionSide(L"1,024", L"width"); }),
              L"error: '1,024' is not a valid integer value");
}

TEST_F(OptionsWindowTest, ShowingFillsTheControlsChangesNoSettingAndKeepsTheFocusOfTheLastShowing) {
    const std::string config = "[Options]\r\nFixedRegionWidth=2000\r\nFixedRegionHeight=100\r\nStartupSuspend=1\r\n"
                               "IncludeCursor=1\r\nInterval=300000\r\nIntervalCent=Minutes\r\nCaptureIndex=5\r\n"
                               "RealSavePath=E:\\shots\\\r\n";
    WriteFileBytes(configPath, config);
    Load();
    const CaptureOptions loaded = options;
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    EXPECT_EQ(window.ChosenPeriodicSource(), settings::PeriodicSource::FullScreen)
        << "the group holds its initial choice until it is first filled";
    EXPECT_EQ(WindowCaption(h.intervalEdit), L"30");
    EXPECT_EQ(WindowCaption(h.widthEdit), L"320") << "written by the spin arrows";
    EXPECT_EQ(WindowCaption(h.heightEdit), L"240");
    // The arrows write plain digits, which Save reads back as an integer.
    SendMessageW(h.widthSpin, UDM_SETPOS32, 0, 1000);
    EXPECT_EQ(WindowCaption(h.widthEdit), L"1000");

    // Another window of the program, disabled while the Options window is up.
    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                                 nullptr);
    bool otherEnabledWhileShown = true;
    WhileShown first(window, {[&] {
                                  otherEnabledWhileShown = IsWindowEnabled(other) != FALSE;
                                  EXPECT_EQ(GetFocus(), h.intervalEdit) << "the number box has the first focus";
                                  EXPECT_EQ(WindowCaption(h.intervalEdit), L"5") << "300000 ms in Minutes";
                                  EXPECT_EQ(WindowCaption(h.unitCombo), L"Minutes");
                                  EXPECT_EQ(window.ChosenPeriodicSource(), settings::PeriodicSource::ActiveWindow)
                                      << "CaptureIndex 5 selects Active Window";
                                  EXPECT_TRUE(IsChecked(h.activeWindowRadio));
                                  EXPECT_EQ(WindowCaption(h.folderEdit), L"E:\\shots\\");
                                  EXPECT_EQ(WindowCaption(h.widthEdit), L"2000")
                                      << "shown as set, beyond the arrows' range";
                                  EXPECT_EQ(WindowCaption(h.heightEdit), L"100");
                                  EXPECT_TRUE(IsChecked(h.includeCursorCheck));
                                  EXPECT_TRUE(IsChecked(h.startupSuspendCheck));
                                  SetFocus(h.heightEdit);
                              },
                              [&] { PostMessageW(window.Handle(), WM_CLOSE, 0, 0); }});
    first.Show();
    EXPECT_EQ(first.StepsRun(), 2u);
    EXPECT_FALSE(otherEnabledWhileShown);
    EXPECT_TRUE(IsWindowEnabled(other)) << "enabled again once the window is closed";
    DestroyWindow(other);
    EXPECT_FALSE(IsWindowVisible(window.Handle()));
    EXPECT_EQ(options, loaded) << "showing and closing changes no setting";
    EXPECT_EQ(ReadFileBytes(configPath), config) << "and writes nothing";

    // A method below the range selects nothing; an interval that is not a
    // whole number of its unit leaves the number box as it was.
    options.PeriodicSourceIndex = -3;
    options.Interval = 90000;
    HWND focusAtSecondShowing = nullptr;
    WhileShown second(window, {[&] {
                          focusAtSecondShowing = GetFocus();
                          EXPECT_EQ(window.ChosenPeriodicSource(), std::nullopt);
                          EXPECT_FALSE(IsChecked(h.fullScreenRadio) || IsChecked(h.activeWindowRadio));
                          EXPECT_EQ(WindowCaption(h.intervalEdit), L"5");
                      }});
    second.Show();
    EXPECT_EQ(focusAtSecondShowing, h.heightEdit) << "the focus goes back where it was when the window closed";
    EXPECT_EQ(window.ChosenPeriodicSource(), std::nullopt) << "the choice stays in the group after closing";
    EXPECT_EQ(ReadFileBytes(configPath), config);
}

TEST_F(OptionsWindowTest, KeyboardMovesThroughTheControlsInTheirOrderAndEscCloses) {
    Load();
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    // Real Time Capture Setting, then Fixed Region Setting, then System Setting.
    const std::vector<HWND> order = {h.intervalEdit,       h.unitCombo,          h.fullScreenRadio, h.folderEdit,
                                     h.widthEdit,          h.widthSpin,          h.heightEdit,      h.heightSpin,
                                     h.includeCursorCheck, h.startupSuspendCheck};
    for (size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(GetNextDlgTabItem(window.Handle(), order[i], FALSE), order[(i + 1) % order.size()]) << i;

    HWND afterTab = nullptr;
    bool escClosed = false;
    WhileShown script(window, {[&] {
                                   // Keys as they come from the keyboard: queued for the focused control.
                                   PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
                               },
                               [&] {
                                   afterTab = GetFocus();
                                   PostMessageW(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
                                   escClosed = true;
                               },
                               [&] { escClosed = false; }});
    script.Show();
    EXPECT_TRUE(afterTab == h.unitCombo || IsChild(h.unitCombo, afterTab)) << "Tab moves from the number to the unit";
    EXPECT_TRUE(escClosed) << "Esc closed the window before the next step";
    EXPECT_EQ(script.StepsRun(), 2u);
}

TEST_F(OptionsWindowTest, SaveChecksEveryBoxBeforeWritingThenSavesAndSaysSo) {
    Load(); // no config.ini: every setting is empty or 0
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    auto type = [&](const wchar_t* number, const wchar_t* unit, const wchar_t* width, const wchar_t* height) {
        SetWindowTextW(h.intervalEdit, number);
        SetWindowTextW(h.unitCombo, unit);
        SetWindowTextW(h.widthEdit, width);
        SetWindowTextW(h.heightEdit, height);
    };
    bool openAfterRefusals = false;
    HWND focusAfterRefusal = nullptr;
    WhileShown script(window, {[&] {
                                   // The unit box is empty after a start without config.ini.
                                   EXPECT_EQ(WindowCaption(h.unitCombo), L"");
                                   ClickAt(window, kSaveButton);
                               },
                               [&] {
                                   type(L"abc", L"Seconds", L"320", L"240");
                                   ClickAt(window, kSaveButton);
                                   focusAfterRefusal = GetFocus();
                               },
                               [&] {
                                   type(L"5", L"Minutes", L"-1", L"240");
                                   ClickAt(window, kSaveButton);
                               },
                               [&] {
                                   type(L"600000", L"Hours", L"320", L"240");
                                   ClickAt(window, kSaveButton);
                               },
                               [&] {
                                   type(L"5", L"Minutes", L"320", L"16385");
                                   ClickAt(window, kSaveButton);
                               },
                               [&] {
                                   openAfterRefusals = window.IsModal();
                                   // Values beyond the arrows' ranges are taken.
                                   type(L"5", L"Minutes", L"1500", L"16384");
                                   SendMessageW(h.activeWindowRadio, BM_CLICK, 0, 0);
                                   SendMessageW(h.includeCursorCheck, BM_CLICK, 0, 0);
                                   SetWindowTextW(h.folderEdit, L"E:\\shots");
                                   ClickAt(window, kSaveButton);
                               },
                               [&] { ADD_FAILURE() << "Save should have closed the window"; }});
    script.Show();

    EXPECT_EQ(boxes.errors, (std::vector<std::wstring>{
                                L"The interval unit must be Seconds, Minutes or Hours",
                                L"'abc' is not a valid integer value",
                                L"The fixed width must be between 0 and 16384 pixels",
                                L"The interval is too long: the longest is 596 hours",
                                L"The fixed height must be between 0 and 16384 pixels",
                            }));
    EXPECT_EQ(focusAfterRefusal, h.intervalEdit) << "the refused box takes the focus";
    EXPECT_TRUE(openAfterRefusals);
    EXPECT_EQ(script.StepsRun(), 6u);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"The config file is saved!");
    EXPECT_EQ(messages[0].type, static_cast<UINT>(MB_OK | MB_TASKMODAL)) << "OK alone, no icon, the whole program's";

    EXPECT_EQ(options.Interval, 300000);
    EXPECT_EQ(options.IntervalUnit, L"Minutes");
    EXPECT_EQ(options.FixedRegionWidth, 1500);
    EXPECT_EQ(options.FixedRegionHeight, 16384);
    EXPECT_EQ(options.PeriodicSourceIndex, 1);
    EXPECT_TRUE(options.IncludeCursor);
    EXPECT_FALSE(options.StartupSuspend);
    EXPECT_EQ(options.PeriodicFolder, L"E:\\shots");
    CaptureOptions reloaded;
    settings::LoadOptions(file, reloaded);
    EXPECT_EQ(reloaded, options) << "config.ini holds what the record holds";
}

TEST_F(OptionsWindowTest, ARefusedSaveWritesNothingAndChangesNoSetting) {
    const std::string config = "[Options]\r\nInterval=30000\r\nIntervalCent=Seconds\r\nFixedRegionWidth=320\r\n";
    WriteFileBytes(configPath, config);
    Load();
    const CaptureOptions loaded = options;
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    WhileShown script(window, {[&] {
                          // The interval is good; only the height is not.
                          SetWindowTextW(h.intervalEdit, L"2");
                          SetWindowTextW(h.unitCombo, L"Hours");
                          SetWindowTextW(h.heightEdit, L"tall");
                          SendMessageW(h.startupSuspendCheck, BM_CLICK, 0, 0);
                          ClickAt(window, kSaveButton);
                      }});
    script.Show();
    EXPECT_EQ(boxes.errors, std::vector<std::wstring>{L"'tall' is not a valid integer value"});
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(options, loaded) << "not even the interval changed";
    EXPECT_EQ(ReadFileBytes(configPath), config);
}

TEST_F(OptionsWindowTest, ResetRestoresTheFactorySettingsAndKeepsTheWindowAndTheNumberBox) {
    WriteFileBytes(configPath, "[Options]\r\nFixedRegionWidth=50\r\nFixedRegionHeight=60\r\nStartupSuspend=1\r\n"
                               "IncludeCursor=1\r\nInterval=7200000\r\nIntervalCent=Hours\r\nCaptureIndex=1\r\n"
                               "RealSavePath=E:\\shots\r\n");
    Load();
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    bool openAfterReset = false;
    WhileShown script(window, {[&] {
                                   EXPECT_EQ(WindowCaption(h.intervalEdit), L"2");
                                   SetWindowTextW(h.intervalEdit, L"45");
                                   ClickAt(window, kResetButton);
                               },
                               [&] {
                                   openAfterReset = window.IsModal();
                                   EXPECT_EQ(WindowCaption(h.widthEdit), L"320");
                                   EXPECT_EQ(WindowCaption(h.heightEdit), L"240");
                                   EXPECT_EQ(WindowCaption(h.unitCombo), L"Seconds");
                                   EXPECT_EQ(window.ChosenPeriodicSource(), settings::PeriodicSource::FullScreen);
                                   EXPECT_EQ(WindowCaption(h.folderEdit), L"D:\\output");
                                   EXPECT_FALSE(IsChecked(h.includeCursorCheck));
                                   EXPECT_FALSE(IsChecked(h.startupSuspendCheck));
                                   EXPECT_EQ(WindowCaption(h.intervalEdit), L"45")
                                       << "Reset leaves the number box alone";
                               }});
    script.Show();
    EXPECT_TRUE(openAfterReset);
    EXPECT_TRUE(messages.empty() && boxes.errors.empty()) << "Reset says nothing";
    EXPECT_EQ(options.Interval, 30000);
    EXPECT_EQ(options.FixedRegionWidth, 320);
    EXPECT_EQ(options.PeriodicFolder, L"D:\\output");
    EXPECT_FALSE(options.StartupSuspend || options.IncludeCursor);
    EXPECT_NE(ReadFileBytes(configPath).find("RealTime=0"), std::string::npos);
}

// The folder browser (a dialog), found among the thread's windows while it is open.
HWND OpenFolderBrowser() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) -> BOOL {
            wchar_t className[32] = {};
            GetClassNameW(hwnd, className, 32);
            // The browser may not be visible yet when its loop first runs.
            if (std::wstring(className) == L"#32770") {
                *reinterpret_cast<HWND*>(result) = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

bool HasChildWithText(HWND window, const std::wstring& text) {
    struct Search {
        std::wstring text;
        bool found = false;
    } search{text};
    EnumChildWindows(
        window,
        [](HWND child, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            if (WindowCaption(child) == s->text) s->found = true;
            return !s->found;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of the folder the browser's tree has selected, once it has one.
std::wstring SelectedFolderName(HWND browser) {
    HWND tree = FindWindowExW(browser, nullptr, WC_TREEVIEWW, nullptr);
    if (!tree) return {};
    const auto item = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    wchar_t text[MAX_PATH] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = MAX_PATH;
    if (!item || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data))) return {};
    return text;
}

TEST(FolderBrowser, OpensAtTheInitialFolderAndGivesBackTheChoiceOrNothing) {
    TempFolder folder;
    const std::wstring initial = folder.Path().wstring();
    bool titled = false;
    int answer = IDOK;
    int looks = 0;
    ui::Timer answerer(100, true);
    answerer.OnTimer = [&] {
        // OK once the browser has gone to the initial folder, as a user sees
        // it, or after a generous while, so that a browser that never goes
        // there fails the check below rather than hanging.
        HWND browser = OpenFolderBrowser();
        if (!browser) return;
        const bool atInitial = SelectedFolderName(browser) == folder.Path().filename().wstring();
        if (answer == IDOK && !atInitial && ++looks < 100) return;
        titled = HasChildWithText(browser, L"Please Choose a Folder");
        PostMessageW(browser, WM_COMMAND, answer, 0);
    };
    const std::wstring chosen = ui::BrowseForFolder(nullptr, L"Please Choose a Folder", initial);
    EXPECT_TRUE(titled);
    EXPECT_EQ(lstrcmpiW(chosen.c_str(), initial.c_str()), 0)
        << Narrow(chosen) << " vs " << Narrow(initial) << ": OK at once gives the initial folder";

    answer = IDCANCEL;
    EXPECT_EQ(ui::BrowseForFolder(nullptr, L"Please Choose a Folder", initial), L"");
}

TEST_F(OptionsWindowTest, BrowseOpensTheFolderBrowserAndCancelLeavesTheFolderBox) {
    Load();
    OptionsWindow window(options, file);
    const OptionsWindow::ControlHandles h = window.Handles();
    bool browserTitled = false;
    WhileShown script(window, {[&] {
                                   SetWindowTextW(h.folderEdit, L"E:\\kept");
                                   // Runs the browser's own modal loop, in which the next step runs.
                                   ClickAt(window, kBrowseButton);
                               },
                               [&] {
                                   HWND browser = OpenFolderBrowser();
                                   ASSERT_NE(browser, nullptr);
                                   browserTitled = HasChildWithText(browser, L"Please Choose a Folder");
                                   PostMessageW(browser, WM_COMMAND, IDCANCEL, 0);
                               },
                               [&] { EXPECT_EQ(WindowCaption(h.folderEdit), L"E:\\kept"); }});
    script.Show();
    EXPECT_TRUE(browserTitled);
    EXPECT_EQ(script.StepsRun(), 3u);
}

TEST_F(OptionsWindowTest, MoreAsksForMoreOptionsWhoseResetAndSaveWriteEveryKeyInTheFileOrder) {
    // "More…" in the free corner right of Reset asks for the window and
    // leaves the Options window open.
    OptionsWindow window(options, file);
    int moreRequested = 0;
    window.MoreOptionsRequested = [&] { ++moreRequested; };
    WhileShown optionsScript(window, {[&] {
                                          ClickAt(window, {352 + 32, 478 + 11});
                                      },
                                      [&] { EXPECT_TRUE(window.IsModal()) << "More… closed the Options window"; }});
    optionsScript.Show();
    EXPECT_EQ(moreRequested, 1);

    // A record as a hand-edited file leaves it, and no config.ini yet: Reset
    // writes the original keys as the record holds them, in their order,
    // without the line that only the Options window's Reset writes, then
    // the added keys at their defaults, and leaves the original settings and
    // the window as they were.
    options.FixedRegionWidth = 77;
    options.IntervalUnit = L"Weeks";
    options.PeriodicSourceIndex = 7;
    options.PeriodicFolder = L"E:\\shots";
    options.More.FullScreenArea = settings::ScreenArea::AllMonitors;
    CaptureOptions before = options;
    const std::string original = "[Options]\r\nFixedRegionWidth=77\r\nFixedRegionHeight=0\r\nStartupSuspend=0\r\n"
                                 "IncludeCursor=0\r\nInterval=0\r\nIntervalCent=Weeks\r\nCaptureIndex=7\r\n"
                                 "RealSavePath=E:\\shots\r\n";
    // The added keys at their defaults, but for the Full Screen choice.
    const auto addedKeys = [](int fullScreenArea) {
        return "FullScreenArea=" + std::to_string(fullScreenArea) +
               "\r\nHotKeyFullScreen=Ctrl+1\r\nHotKeyActiveWindow=Ctrl+2\r\nHotKeyObject=Ctrl+3\r\n"
               "HotKeySelectedRegion=Ctrl+4\r\nHotKeyFixedRegion=Ctrl+5\r\n"
               "HotKeyStartPeriodic=Ctrl+R\r\nHotKeyStopPeriodic=Ctrl+S\r\nCaptureKey=Ctrl+D\r\n"
               "PeriodicSkipUnchanged=0\r\nPeriodicKeepFiles=0\r\nPeriodicFormat=jpg\r\n";
    };
    settings::MoreOptionsWindow more(options, file);
    RECT client{};
    GetClientRect(more.Handle(), &client);
    EXPECT_EQ(client.right, 443) << "as wide as the Options window";
    std::string afterReset;
    bool openAfterReset = false;
    settings::ScreenArea shown{}, shownAfterReset{};
    WhileShown moreScript(
        more, {[&] {
                   shown = more.FullScreenAreaChoice().Chosen();
                   ClickAt(more, more.ResetButtonCentre());
               },
               [&] {
                   afterReset = ReadFileBytes(configPath);
                   openAfterReset = more.IsModal();
                   shownAfterReset = more.FullScreenAreaChoice().Chosen();
                   // The user chooses the monitor under the mouse.
                   SendMessageW(more.FullScreenAreaChoice().Choice(settings::ScreenArea::MonitorUnderMouse).Handle(),
                                BM_CLICK, 0, 0);
               },
               [&] { ClickAt(more, more.SaveButtonCentre()); }});
    moreScript.Show();
    EXPECT_EQ(shown, settings::ScreenArea::AllMonitors) << "the group shows the setting";
    EXPECT_EQ(afterReset, original + addedKeys(0));
    EXPECT_TRUE(openAfterReset) << "Reset closed the window";
    EXPECT_EQ(shownAfterReset, settings::ScreenArea::PrimaryMonitor);
    before.More.FullScreenArea = settings::ScreenArea::MonitorUnderMouse;
    EXPECT_EQ(options, before);

    // Save takes the choice and writes the same keys in place, says so as
    // the Options window does, and closes the window.
    EXPECT_EQ(ReadFileBytes(configPath), original + addedKeys(1));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, L"The config file is saved!");
    EXPECT_FALSE(more.IsModal() || IsWindowVisible(more.Handle()));
    EXPECT_EQ(moreScript.StepsRun(), 3u);
    EXPECT_TRUE(boxes.errors.empty());
}
