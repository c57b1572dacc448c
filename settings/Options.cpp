#include "settings/Options.h"

#include "ui/Error.h"
#include "ui/Resources.h"

#include <windows.h>

#include <algorithm>

namespace settings {

namespace {
const wchar_t* const kSection = L"Options";
}

ScreenArea ScreenAreaOfValue(int value) {
    switch (value) {
    case 1:
        return ScreenArea::MonitorUnderMouse;
    case 2:
        return ScreenArea::AllMonitors;
    default:
        return ScreenArea::PrimaryMonitor;
    }
}

TimeUnit::TimeUnit(std::wstring text) {
    for (Kind known : {Kind::Seconds, Kind::Minutes, Kind::Hours})
        if (text == TimeUnit(known).Text()) {
            kind_ = known;
            return;
        }
    unrecognisedText_ = std::move(text);
}

TimeUnit::TimeUnit(Kind known) : kind_(known) {}

std::wstring TimeUnit::Text() const {
    switch (kind_) {
    case Kind::Seconds:
        return L"Seconds";
    case Kind::Minutes:
        return L"Minutes";
    case Kind::Hours:
        return L"Hours";
    case Kind::Unrecognised:
        break;
    }
    return unrecognisedText_;
}

std::optional<int> TimeUnit::Milliseconds() const {
    switch (kind_) {
    case Kind::Seconds:
        return 1000;
    case Kind::Minutes:
        return 60 * 1000;
    case Kind::Hours:
        return 3600 * 1000;
    case Kind::Unrecognised:
        break;
    }
    return std::nullopt;
}

std::wstring ConfigFilePath() { return ui::ExecutableFolder() + L"config.ini"; }

std::wstring ConfigReadProblem(const std::wstring& path, unsigned long waitMs) {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return {};
        // The profile functions give defaults for a file they cannot open,
        // without a word: open it here first to know.
        HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return {};
        }
        const DWORD error = GetLastError();
        if (GetTickCount64() - start >= waitMs) return ui::SystemErrorText(error);
        Sleep(100);
    }
}

void LoadOptions(const IniFile& file, CaptureOptions& o) {
    o.StartupSuspend = file.ReadBool(kSection, L"StartupSuspend", false);
    o.IncludeCursor = file.ReadBool(kSection, L"IncludeCursor", false);
    o.FixedRegionWidth = file.ReadInteger(kSection, L"FixedRegionWidth", 0);
    o.FixedRegionHeight = file.ReadInteger(kSection, L"FixedRegionHeight", 0);
    o.Interval = file.ReadInteger(kSection, L"Interval", 0);
    o.IntervalUnit = file.ReadString(kSection, L"IntervalCent", L"");
    o.PeriodicSourceIndex = file.ReadInteger(kSection, L"CaptureIndex", 0);
    o.PeriodicFolder = file.ReadString(kSection, L"RealSavePath", L"");
    // The keys of MoreOptions follow, each read with its field's default.
    o.More.FullScreenArea = ScreenAreaOfValue(file.ReadInteger(kSection, L"FullScreenArea", 0));
    LoadHotKeys(file, o.More.HotKeys);
    o.More.PeriodicSkipUnchanged = file.ReadBool(kSection, L"PeriodicSkipUnchanged", false);
    // A count below zero cannot be kept: it keeps everything, as 0 does.
    o.More.PeriodicKeepFiles = std::max(0, file.ReadInteger(kSection, L"PeriodicKeepFiles", 0));
    o.More.PeriodicFormat = PeriodicFormatOfText(file.ReadString(kSection, L"PeriodicFormat", L"jpg"));
}

const wchar_t* PeriodicFormatText(PeriodicFileFormat format) {
    return format == PeriodicFileFormat::Png ? L"png" : L"jpg";
}

PeriodicFileFormat PeriodicFormatOfText(const std::wstring& text) {
    return CompareStringOrdinal(text.c_str(), -1, L"png", -1, TRUE) == CSTR_EQUAL ? PeriodicFileFormat::Png
                                                                                  : PeriodicFileFormat::Jpeg;
}

namespace {

// The keys of MoreOptions, after the original ones, in the order of its fields.
void WriteMoreKeys(IniFile& file, const MoreOptions& more) {
    file.WriteInteger(kSection, L"FullScreenArea", static_cast<int>(more.FullScreenArea));
    WriteHotKeys(file, more.HotKeys);
    file.WriteBool(kSection, L"PeriodicSkipUnchanged", more.PeriodicSkipUnchanged);
    file.WriteInteger(kSection, L"PeriodicKeepFiles", more.PeriodicKeepFiles);
    file.WriteString(kSection, L"PeriodicFormat", PeriodicFormatText(more.PeriodicFormat));
}

// The settings keys in the order they are written. Only a reset writes the
// key of the periodic-capture switch, which is always off in the file.
void WriteKeys(IniFile& file, const CaptureOptions& o, bool withPeriodicSwitch) {
    file.WriteInteger(kSection, L"FixedRegionWidth", o.FixedRegionWidth);
    file.WriteInteger(kSection, L"FixedRegionHeight", o.FixedRegionHeight);
    file.WriteBool(kSection, L"StartupSuspend", o.StartupSuspend);
    file.WriteBool(kSection, L"IncludeCursor", o.IncludeCursor);
    if (withPeriodicSwitch) file.WriteBool(kSection, L"RealTime", false);
    file.WriteInteger(kSection, L"Interval", o.Interval);
    file.WriteString(kSection, L"IntervalCent", o.IntervalUnit.Text());
    file.WriteInteger(kSection, L"CaptureIndex", o.PeriodicSourceIndex);
    file.WriteString(kSection, L"RealSavePath", o.PeriodicFolder);
    WriteMoreKeys(file, o.More);
}

} // namespace

void SaveOptions(IniFile& file, const CaptureOptions& o) { WriteKeys(file, o, false); }

void ResetOptions(IniFile& file, CaptureOptions& o) {
    const CaptureOptions factory{.FixedRegionWidth = 320,
                                 .FixedRegionHeight = 240,
                                 .Interval = 30000,
                                 .IntervalUnit = TimeUnit::Kind::Seconds,
                                 .PeriodicSourceIndex = 0,
                                 .PeriodicFolder = L"D:\\output"};
    // The record takes the factory values at once, the two switches only
    // through the reload, as the file says them.
    o.FixedRegionWidth = factory.FixedRegionWidth;
    o.FixedRegionHeight = factory.FixedRegionHeight;
    o.Interval = factory.Interval;
    o.IntervalUnit = factory.IntervalUnit;
    o.PeriodicSourceIndex = factory.PeriodicSourceIndex;
    o.PeriodicFolder = factory.PeriodicFolder;
    o.More = factory.More;
    WriteKeys(file, factory, true);
    LoadOptions(file, o);
}

void ResetMoreOptions(IniFile& file, CaptureOptions& o) {
    o.More = MoreOptions{};
    WriteKeys(file, o, false);
}

} // namespace settings
