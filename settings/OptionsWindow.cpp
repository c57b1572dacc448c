#include "settings/OptionsWindow.h"

#include "controls/Skin.h"
#include "settings/OptionValues.h"
#include "ui/Error.h"
#include "ui/Event.h"
#include "ui/FolderBrowser.h"
#include "ui/Resources.h"

#include <string>

namespace settings {

namespace {

constexpr SIZE kClientSize{443, 529};
constexpr POINT kWindowPosition{489, 129};
constexpr COLORREF kPanelColor = SettingsDialog::kPanelColor;

// The groups, each with its top-left corner in its parent's coordinates. The
// controls inside are placed relative to their group; all of them are
// children of the window itself.
struct Group {
    POINT origin; // in the window's client area
    int width, height;
    constexpr RECT At(int x, int y, int w, int h) const {
        return {origin.x + x, origin.y + y, origin.x + x + w, origin.y + y + h};
    }
    constexpr Group Inner(int x, int y, int w, int h) const { return {{origin.x + x, origin.y + y}, w, h}; }
};

constexpr Group kSystemGroup{{24, 24}, 393, 105};
constexpr Group kFixedRegionGroup{{24, 136}, 393, 81};
constexpr Group kRealTimeGroup{{24, 240}, 393, 177};
constexpr Group kIntervalGroup = kRealTimeGroup.Inner(24, 23, 169, 82);
constexpr Group kMethodGroup = kRealTimeGroup.Inner(216, 24, 169, 81);

ui::NativeControlArgs Placed(const RECT& r, const std::wstring& text, HFONT font, DWORD style = WS_GROUP) {
    return {.text = text,
            .x = r.left,
            .y = r.top,
            .width = r.right - r.left,
            .height = r.bottom - r.top,
            .font = font,
            .background = kPanelColor,
            .style = style};
}

void PlaceFrame(ui::GroupFrame& frame, const Group& group, const wchar_t* caption, HFONT font) {
    frame.SetBounds(group.origin.x, group.origin.y, group.width, group.height);
    frame.SetCaption(caption);
    frame.Font = font;
}

void SetStyle(HWND window, DWORD style, bool on) {
    const LONG old = GetWindowLongW(window, GWL_STYLE);
    SetWindowLongW(window, GWL_STYLE, on ? (old | style) : (old & ~static_cast<LONG>(style)));
}

} // namespace

OptionsWindow::OptionsWindow(CaptureOptions& options, IniFile& configFile)
    : options_(options), configFile_(configFile) {
    CreateDialogWindow(kOptionsWindowClass, L"Snapora - Options", kWindowPosition, kClientSize);
    CreateControls();
    FollowMonitorDpi();
}

void OptionsWindow::CreateControls() {
    const HFONT font = controls::SkinFont();

    PlaceFrame(systemFrame_, kSystemGroup, L"System Setting", font);
    PlaceFrame(fixedRegionFrame_, kFixedRegionGroup, L"Fixed Region Setting", font);
    PlaceFrame(realTimeFrame_, kRealTimeGroup, L"Real Time Capture Setting", font);
    PlaceFrame(intervalFrame_, kIntervalGroup, L"Real Time Interval", font);
    PlaceFrame(methodFrame_, kMethodGroup, L"Real Time Method", font);
    for (ui::GroupFrame* frame : {&systemFrame_, &fixedRegionFrame_, &realTimeFrame_, &intervalFrame_, &methodFrame_})
        AddControl(*frame);

    // The browse button is the skin's, with a frame while the mouse is over it.
    controls::ApplySkin(browseButton_, {.bounds = kRealTimeGroup.At(320, 112, 57, 57), .picture = L"ICON_BROWSE"});
    browseButton_.SetButtonStyle(controls::PngButton::FrameStyle::Flat);
    controls::ApplySkin(saveButton_, {{120, 440, 120 + 73, 440 + 60}, L"ICON_OPTIONS_SAVE", L"Save"});
    controls::ApplySkin(resetButton_, {{256, 440, 256 + 81, 440 + 60}, L"ICON_RESET", L"Reset"});
    browseButton_.OnClick = [this](ui::Control&) { OnBrowseClick(); };
    saveButton_.OnClick = [this](ui::Control&) { OnSaveClick(); };
    resetButton_.OnClick = [this](ui::Control&) { OnResetClick(); };
    for (controls::PngButton* button : {&browseButton_, &saveButton_, &resetButton_})
        AddControl(*button);
    // In the free corner right of Reset, level with the captions.
    moreButton_.SetCaption(L"More\u2026");
    moreButton_.Font = font;
    moreButton_.SetBounds(352, 478, 65, 22);
    moreButton_.OnClick = [this](ui::Control&) { ui::Raise(MoreOptionsRequested); };
    AddControl(moreButton_);

    // The native controls are created in keyboard order, since a window's
    // children take the keyboard focus in the order of their creation. Each
    // starts a keyboard group of its own (WS_GROUP), so that the arrow keys
    // move only between the two method choices.
    intervalEdit_.emplace(*this, Placed(kIntervalGroup.At(14, 37, 51, 21), L"30", font));
    unitCombo_.emplace(*this, Placed(kIntervalGroup.At(72, 37, 89, 20), L"Seconds", font),
                       std::initializer_list<const wchar_t*>{L"Seconds", L"Minutes", L"Hours"});

    // The two choices share the group's inside below its caption in equal
    // rows, each as wide as the group less its margins.
    TEXTMETRICW metrics{};
    {
        ui::WindowDC screen(nullptr);
        ui::ScopedSelect select(screen.Get(), font);
        GetTextMetricsW(screen.Get(), &metrics);
    }
    const int room = kMethodGroup.height - metrics.tmHeight - 5;
    const int rowHeight = room / 2;
    const int firstRow = metrics.tmHeight + 1 + (room % 2) / 2;
    const int rowWidth = kMethodGroup.width - 10;
    fullScreenRadio_.emplace(*this, Placed(kMethodGroup.At(8, firstRow, rowWidth, rowHeight), L"Full Screen", font));
    activeWindowRadio_.emplace(
        *this, Placed(kMethodGroup.At(8, firstRow + rowHeight, rowWidth, rowHeight), L"Active Window", font, 0));
    fullScreenRadio_->OnClick = [this] { UpdateMethodTabStop(); };
    activeWindowRadio_->OnClick = [this] { UpdateMethodTabStop(); };

    // The folder box's label stands above it, 3 pixels apart.
    const RECT folder = kRealTimeGroup.At(25, 133, 280, 20);
    const SIZE folderLabel = ui::TextExtent(font, L"Save to:");
    folderLabel_.emplace(
        *this, Placed({folder.left, folder.top - 3 - folderLabel.cy, folder.left + folderLabel.cx, folder.top - 3},
                      L"Save to:", font));
    folderEdit_.emplace(*this, Placed(folder, L"D:\\output", font));

    auto labelAt = [&](int x, int y, const wchar_t* text) {
        const RECT r = kFixedRegionGroup.At(x, y, 0, 0);
        return Placed({r.left, r.top, r.left, r.top}, text, font);
    };
    widthLabel_.emplace(*this, labelAt(61, 24, L"Fixed Width:"));
    widthEdit_.emplace(*this, Placed(kFixedRegionGroup.At(62, 41, 51, 20), L"", font));
    const RECT widthSpin = kFixedRegionGroup.At(113, 41, 16, 20);
    widthSpin_.emplace(*this, *widthEdit_,
                       ui::UpDownArgs{.x = widthSpin.left,
                                      .y = widthSpin.top,
                                      .width = 16,
                                      .height = 20,
                                      .minimum = 0,
                                      .maximum = 1024,
                                      .position = 320,
                                      .style = WS_GROUP});
    heightLabel_.emplace(*this, labelAt(231, 24, L"Fixed Height:"));
    heightEdit_.emplace(*this, Placed(kFixedRegionGroup.At(233, 40, 50, 20), L"", font));
    const RECT heightSpin = kFixedRegionGroup.At(283, 40, 16, 20);
    heightSpin_.emplace(*this, *heightEdit_,
                        ui::UpDownArgs{.x = heightSpin.left,
                                       .y = heightSpin.top,
                                       .width = 16,
                                       .height = 20,
                                       .minimum = 0,
                                       .maximum = 768,
                                       .position = 240,
                                       .style = WS_GROUP});

    includeCursorCheck_.emplace(*this, Placed(kSystemGroup.At(24, 32, 121, 17), L"Include Cursor", font));
    startupSuspendCheck_.emplace(*this,
                                 Placed(kSystemGroup.At(24, 72, 217, 17), L"Startup with Suspend interface", font));

    SetChosenPeriodicSource(PeriodicSource::FullScreen);
}

std::optional<PeriodicSource> OptionsWindow::ChosenPeriodicSource() const {
    if (fullScreenRadio_->Checked()) return PeriodicSource::FullScreen;
    if (activeWindowRadio_->Checked()) return PeriodicSource::ActiveWindow;
    return std::nullopt;
}

void OptionsWindow::SetChosenPeriodicSource(std::optional<PeriodicSource> source) {
    if (source == PeriodicSource::FullScreen)
        fullScreenRadio_->SetChecked(true);
    else if (source == PeriodicSource::ActiveWindow)
        activeWindowRadio_->SetChecked(true);
    else {
        fullScreenRadio_->SetChecked(false);
        activeWindowRadio_->SetChecked(false);
    }
    UpdateMethodTabStop();
}

void OptionsWindow::UpdateMethodTabStop() {
    // The keyboard enters the group at the chosen button, or at the first one
    // when none is chosen; the arrow keys move between them.
    const bool activeWindow = activeWindowRadio_->Checked();
    SetStyle(fullScreenRadio_->Handle(), WS_TABSTOP, !activeWindow);
    SetStyle(activeWindowRadio_->Handle(), WS_TABSTOP, activeWindow);
}

void OptionsWindow::FillControls() {
    // The spin arrows write their position into their box, so they are set
    // first; the box then shows the setting as it is, even beyond their range.
    widthSpin_->SetPosition(options_.FixedRegionWidth);
    widthEdit_->SetText(std::to_wstring(options_.FixedRegionWidth));
    heightSpin_->SetPosition(options_.FixedRegionHeight);
    heightEdit_->SetText(std::to_wstring(options_.FixedRegionHeight));
    includeCursorCheck_->SetChecked(options_.IncludeCursor);
    unitCombo_->SetText(options_.IntervalUnit.Text());
    // The group's range clamps the saved index: below 0 nothing is chosen.
    SetChosenPeriodicSource(options_.PeriodicSourceIndex < 0
                                ? std::nullopt
                                : std::optional(PeriodicSourceOf(options_.PeriodicSourceIndex)));
    folderEdit_->SetText(options_.PeriodicFolder);
    startupSuspendCheck_->SetChecked(options_.StartupSuspend);
}

void OptionsWindow::OnShowing() {
    FillControls();
    if (const auto number = IntervalNumberText(options_.Interval, options_.IntervalUnit))
        intervalEdit_->SetText(*number);
}

void OptionsWindow::FocusRefusedBox(const ui::NativeControl& box) {
    SetFocus(box.Handle());
    // The whole text is selected, ready to be typed over; a combo box passes
    // the selection on to its own edit box.
    if (&box == &*unitCombo_)
        SendMessageW(box.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageW(box.Handle(), EM_SETSEL, 0, -1);
}

void OptionsWindow::OnSaveClick() {
    // Every box is checked before anything changes: a refused Save leaves
    // the settings and the file as they were.
    int interval = 0, width = 0, height = 0;
    const ui::NativeControl* box = nullptr;
    try {
        box = TimeUnit(unitCombo_->Text()).Milliseconds() ? static_cast<const ui::NativeControl*>(&*intervalEdit_)
                                                          : &*unitCombo_;
        interval = IntervalMilliseconds(intervalEdit_->Text(), unitCombo_->Text());
        box = &*widthEdit_;
        width = FixedRegionSide(widthEdit_->Text(), L"width");
        box = &*heightEdit_;
        height = FixedRegionSide(heightEdit_->Text(), L"height");
    } catch (const ui::Error&) {
        FocusRefusedBox(*box);
        throw;
    }
    options_.Interval = interval;
    options_.FixedRegionWidth = width;
    options_.FixedRegionHeight = height;
    options_.StartupSuspend = startupSuspendCheck_->Checked();
    options_.IncludeCursor = includeCursorCheck_->Checked();
    options_.IntervalUnit = unitCombo_->Text();
    const std::optional<PeriodicSource> source = ChosenPeriodicSource();
    options_.PeriodicSourceIndex = !source ? -1 : *source == PeriodicSource::FullScreen ? 0 : 1;
    options_.PeriodicFolder = folderEdit_->Text();
    SaveOptions(configFile_, options_);
    ConfirmSavedAndClose();
}

void OptionsWindow::OnResetClick() {
    ResetOptions(configFile_, options_);
    FillControls();
    if (SettingsReset) SettingsReset();
}

void OptionsWindow::OnBrowseClick() {
    const std::wstring folder = ui::BrowseForFolder(GetActiveWindow(), L"Please Choose a Folder", L"");
    if (!folder.empty()) folderEdit_->SetText(folder);
}

OptionsWindow::ControlHandles OptionsWindow::Handles() const {
    return {.intervalEdit = intervalEdit_->Handle(),
            .unitCombo = unitCombo_->Handle(),
            .fullScreenRadio = fullScreenRadio_->Handle(),
            .activeWindowRadio = activeWindowRadio_->Handle(),
            .folderEdit = folderEdit_->Handle(),
            .widthEdit = widthEdit_->Handle(),
            .widthSpin = widthSpin_->Handle(),
            .heightEdit = heightEdit_->Handle(),
            .heightSpin = heightSpin_->Handle(),
            .includeCursorCheck = includeCursorCheck_->Handle(),
            .startupSuspendCheck = startupSuspendCheck_->Handle()};
}

} // namespace settings
