#include "settings/PeriodicOptionsPanel.h"

#include "settings/OptionValues.h"
#include "ui/Error.h"
#include "ui/HostWindow.h"

#include <initializer_list>
#include <string>

namespace settings {

namespace {

// The format list's entries, in PeriodicFileFormat order.
constexpr const wchar_t* kJpegEntry = L"JPEG (.jpg)";
constexpr const wchar_t* kPngEntry = L"PNG (.png), lossless";

} // namespace

PeriodicOptionsPanel::PeriodicOptionsPanel(ui::HostWindow& host, POINT origin, HFONT font, COLORREF background)
    : SettingsGroup(host, origin, {kWidth, kHeight}, L"Real Time Capture Files", font, background) {
    auto at = [&](int x, int y, int w, int h, const wchar_t* text, DWORD style = WS_GROUP) {
        return Placed(x, y, w, h, text, style);
    };
    // Created in keyboard order.
    skipUnchangedCheck_.emplace(
        host, at(24, 28, 330, 17, L"Skip a picture equal to the last one written", WS_GROUP | WS_TABSTOP));
    keepFilesLabel_.emplace(host, at(24, 58, 0, 0, L"Keep only the newest"));
    keepFilesEdit_.emplace(host, at(160, 55, 60, 20, L"0", WS_GROUP | WS_TABSTOP | ES_NUMBER));
    keepFilesSpin_.emplace(host, *keepFilesEdit_,
                           ui::UpDownArgs{.x = origin.x + 220,
                                          .y = origin.y + 55,
                                          .width = 16,
                                          .height = 20,
                                          .minimum = 0,
                                          .maximum = kMaxKeptPictures,
                                          .position = 0});
    keepFilesNote_.emplace(host, at(244, 58, 0, 0, L"pictures (0 keeps all)"));
    formatLabel_.emplace(host, at(24, 89, 0, 0, L"File format:"));
    formatCombo_.emplace(host, at(160, 85, 170, 20, L"", WS_GROUP | CBS_DROPDOWNLIST),
                         std::initializer_list<const wchar_t*>{kJpegEntry, kPngEntry});
    formatCombo_->SetSelection(0);
}

void PeriodicOptionsPanel::Fill(const CaptureOptions& options) {
    skipUnchangedCheck_->SetChecked(options.More.PeriodicSkipUnchanged);
    keepFilesEdit_->SetText(std::to_wstring(options.More.PeriodicKeepFiles));
    formatCombo_->SetSelection(options.More.PeriodicFormat == PeriodicFileFormat::Png ? 1 : 0);
}

void PeriodicOptionsPanel::Take(CaptureOptions& options) const {
    const int keep = IntegerOfText(keepFilesEdit_->Text());
    if (keep < 0 || keep > kMaxKeptPictures)
        throw ui::Error(L"The number of pictures to keep must be between 0 and " + std::to_wstring(kMaxKeptPictures));
    options.More.PeriodicSkipUnchanged = skipUnchangedCheck_->Checked();
    options.More.PeriodicKeepFiles = keep;
    options.More.PeriodicFormat = formatCombo_->Selection() == 1 ? PeriodicFileFormat::Png : PeriodicFileFormat::Jpeg;
}

PeriodicOptionsPanel::ControlHandles PeriodicOptionsPanel::Handles() const {
    return {skipUnchangedCheck_->Handle(), keepFilesEdit_->Handle(), keepFilesSpin_->Handle(), formatCombo_->Handle()};
}

} // namespace settings
