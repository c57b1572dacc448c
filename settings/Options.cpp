#include "settings/Options.h"

#include "ui/Error.h"
#include "ui/Resources.h"

#include <windows.h>

namespace settings {

namespace {
const wchar_t* const kSection = L"Options";
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
    o.IntervalCent = file.ReadString(kSection, L"IntervalCent", L"");
    o.CaptureIndex = file.ReadInteger(kSection, L"CaptureIndex", 0);
    o.RealSavePath = file.ReadString(kSection, L"RealSavePath", L"");
    LoadHotKeys(file, o.HotKeys);
}

namespace {

// The settings keys in the order they are written. Only a reset writes the
// key of the periodic-capture switch, which is always off in the file.
void WriteKeys(IniFile& file, const CaptureOptions& o, bool withPeriodicSwitch) {
    file.WriteInteger(kSection, L"FixedRegionWidth", o.FixedRegionWidth);
    file.WriteInteger(kSection, L"FixedRegionHeight", o.FixedRegionHeight);
    file.WriteBool(kSection, L"StartupSuspend", o.StartupSuspend);
    file.WriteBool(kSection, L"IncludeCursor", o.IncludeCursor);
    if (withPeriodicSwitch) file.WriteBool(kSection, L"RealTime", false);
    file.WriteInteger(kSection, L"Interval", o.Interval);
    file.WriteString(kSection, L"IntervalCent", o.IntervalCent);
    file.WriteInteger(kSection, L"CaptureIndex", o.CaptureIndex);
    file.WriteString(kSection, L"RealSavePath", o.RealSavePath);
    WriteHotKeys(file, o.HotKeys);
}

} // namespace

void SaveOptions(IniFile& file, const CaptureOptions& o) { WriteKeys(file, o, false); }

void ResetOptions(IniFile& file, CaptureOptions& o) {
    const CaptureOptions factory{.FixedRegionWidth = 320,
                                 .FixedRegionHeight = 240,
                                 .Interval = 30000,
                                 .IntervalCent = L"Seconds",
                                 .CaptureIndex = 0,
                                 .RealSavePath = L"D:\\output"};
    // The record takes the factory values at once, the two switches only
    // through the reload, as the file says them.
    o.FixedRegionWidth = factory.FixedRegionWidth;
    o.FixedRegionHeight = factory.FixedRegionHeight;
    o.Interval = factory.Interval;
    o.IntervalCent = factory.IntervalCent;
    o.CaptureIndex = factory.CaptureIndex;
    o.RealSavePath = factory.RealSavePath;
    WriteKeys(file, factory, true);
    LoadOptions(file, o);
}

} // namespace settings
