#include "settings/Options.h"

#include <windows.h>

#include <vector>

namespace settings {

namespace {
const wchar_t* const kSection = L"Options";
}

std::wstring ConfigFilePath() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size()) {
            std::wstring path(buffer.data(), length);
            path.erase(path.find_last_of(L"\\/") + 1);
            return path + L"config.ini";
        }
        buffer.resize(buffer.size() * 2);
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
}

void SaveOptions(IniFile& file, const CaptureOptions& o) {
    file.WriteInteger(kSection, L"FixedRegionWidth", o.FixedRegionWidth);
    file.WriteInteger(kSection, L"FixedRegionHeight", o.FixedRegionHeight);
    file.WriteBool(kSection, L"StartupSuspend", o.StartupSuspend);
    file.WriteBool(kSection, L"IncludeCursor", o.IncludeCursor);
    file.WriteInteger(kSection, L"Interval", o.Interval);
    file.WriteString(kSection, L"IntervalCent", o.IntervalCent);
    file.WriteInteger(kSection, L"CaptureIndex", o.CaptureIndex);
    file.WriteString(kSection, L"RealSavePath", o.RealSavePath);
}

void ResetOptions(IniFile& file, CaptureOptions& o) {
    o.FixedRegionWidth = 320;
    o.FixedRegionHeight = 240;
    o.Interval = 30000;
    o.IntervalCent = L"Seconds";
    o.CaptureIndex = 0;
    o.RealSavePath = L"D:\\output";
    file.WriteInteger(kSection, L"FixedRegionWidth", 320);
    file.WriteInteger(kSection, L"FixedRegionHeight", 240);
    file.WriteString(kSection, L"StartupSuspend", L"0");
    file.WriteString(kSection, L"IncludeCursor", L"0");
    file.WriteString(kSection, L"RealTime", L"0");
    file.WriteInteger(kSection, L"Interval", 30000);
    file.WriteString(kSection, L"IntervalCent", L"Seconds");
    file.WriteInteger(kSection, L"CaptureIndex", 0);
    file.WriteString(kSection, L"RealSavePath", L"D:\\output");
    LoadOptions(file, o);
}

} // namespace settings
