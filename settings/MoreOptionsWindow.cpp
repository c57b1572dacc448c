#include "settings/MoreOptionsWindow.h"

#include "controls/Skin.h"

namespace settings {

namespace {

constexpr POINT kWindowPosition{509, 189};
constexpr int kClientWidth = 443;
// Groups stand at the left margin, kGroupGap apart, as wide as the Options
// window's; the buttons sit under the last one.
constexpr int kMargin = 24, kGroupGap = 7;
constexpr int kGroupsTop = kMargin;
constexpr SIZE kSaveSize{73, 60}, kResetSize{81, 60};
constexpr int kSaveLeft = 120, kResetLeft = 256;

// The top of the next group, under the groups whose heights are given.
constexpr int TopUnder(std::initializer_list<int> groupHeights) {
    int top = kGroupsTop;
    for (int height : groupHeights)
        top += height + kGroupGap;
    return top;
}

constexpr int kGroupWidth = 393;
constexpr int kHotKeysGroupTop = TopUnder({FullScreenAreaGroup::kHeight});
constexpr int kPeriodicGroupTop = TopUnder({FullScreenAreaGroup::kHeight, HotKeysGroup::kHeight});
// The buttons sit a margin under the last group.
constexpr int kButtonsTop =
    TopUnder({FullScreenAreaGroup::kHeight, HotKeysGroup::kHeight, PeriodicOptionsPanel::kHeight}) - kGroupGap +
    kMargin;

} // namespace

MoreOptionsWindow::MoreOptionsWindow(CaptureOptions& options, IniFile& configFile)
    : options_(options), configFile_(configFile) {
    CreateDialogWindow(kMoreOptionsWindowClass, L"Snapora - More Options", kWindowPosition,
                       {kClientWidth, kButtonsTop + kSaveSize.cy + kMargin});
    const HFONT font = controls::SkinFont();
    fullScreenArea_.emplace(*this, POINT{kMargin, kGroupsTop}, kGroupWidth, font, kPanelColor);
    hotKeys_.emplace(*this, POINT{kMargin, kHotKeysGroupTop}, font, kPanelColor);
    periodicGroup_.emplace(*this, POINT{kMargin, kPeriodicGroupTop}, font, kPanelColor);

    controls::ApplySkin(saveButton_, {{kSaveLeft, kButtonsTop, kSaveLeft + kSaveSize.cx, kButtonsTop + kSaveSize.cy},
                                      L"ICON_OPTIONS_SAVE",
                                      L"Save"});
    controls::ApplySkin(
        resetButton_,
        {{kResetLeft, kButtonsTop, kResetLeft + kResetSize.cx, kButtonsTop + kResetSize.cy}, L"ICON_RESET", L"Reset"});
    saveButton_.OnClick = [this](ui::Control&) { OnSaveClick(); };
    resetButton_.OnClick = [this](ui::Control&) { OnResetClick(); };
    AddControl(saveButton_);
    AddControl(resetButton_);
    FollowMonitorDpi();
}

POINT MoreOptionsWindow::SaveButtonCentre() const {
    return DpiScale().Px(POINT{kSaveLeft + kSaveSize.cx / 2, kButtonsTop + kSaveSize.cy / 2});
}

POINT MoreOptionsWindow::ResetButtonCentre() const {
    return DpiScale().Px(POINT{kResetLeft + kResetSize.cx / 2, kButtonsTop + kResetSize.cy / 2});
}

void MoreOptionsWindow::FillControls() {
    // Each group puts its settings from options_.More into its controls here.
    fullScreenArea_->Show(options_.More.FullScreenArea);
    hotKeys_->Show(options_.More.HotKeys, HeldElsewhere ? HeldElsewhere() : std::vector<HotKeyCommand>{});
    periodicGroup_->Fill(options_);
}

bool MoreOptionsWindow::ApplyHotKeys() {
    const std::vector<HotKeyCommand> held = HotKeysChanged ? HotKeysChanged() : std::vector<HotKeyCommand>{};
    hotKeys_->Show(options_.More.HotKeys, held);
    return held.empty();
}

void MoreOptionsWindow::OnSaveClick() {
    // Every group checks its controls first (two commands with one key are
    // refused), then takes them into options_.More, so that a refused Save
    // changes nothing.
    const HotKeyTable keys = hotKeys_->Read();
    periodicGroup_->Take(options_);
    options_.More.HotKeys = keys;
    options_.More.FullScreenArea = fullScreenArea_->Chosen();
    SaveOptions(configFile_, options_);
    // A key that another program holds keeps the window open, its field marked.
    if (ApplyHotKeys()) ConfirmSavedAndClose();
}

void MoreOptionsWindow::OnResetClick() {
    ResetMoreOptions(configFile_, options_);
    FillControls();
    // The default keys are put in force, and the ones held elsewhere marked.
    ApplyHotKeys();
}

} // namespace settings
