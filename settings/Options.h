// The user's settings: the in-memory record and its three file operations on
// config.ini, section "Options".
#pragma once

#include "settings/IniFile.h"

#include <string>

namespace settings {

// What a Full Screen capture takes (config.ini "FullScreenArea").
enum class ScreenArea {
    PrimaryMonitor = 0,
    MonitorUnderMouse = 1,
    // Every monitor: the whole virtual screen.
    AllMonitors = 2,
};

// The area a FullScreenArea value names; a missing or unknown value names
// the primary monitor.
ScreenArea ScreenAreaOfValue(int value);

struct CaptureOptions {
    bool StartupSuspend = false;
    bool IncludeCursor = false;
    int FixedRegionWidth = 0;
    int FixedRegionHeight = 0;
    int Interval = 0; // milliseconds
    std::wstring IntervalCent;
    int CaptureIndex = 0; // 0 full screen, 1 active window
    std::wstring RealSavePath;
    ScreenArea FullScreenArea = ScreenArea::PrimaryMonitor;
};

// config.ini in the folder of the running executable.
std::wstring ConfigFilePath();

// Why config.ini cannot be read, or nothing when it can (a missing file can:
// it gives the defaults). A file that another program holds open for a moment
// is tried again for up to waitMs milliseconds.
std::wstring ConfigReadProblem(const std::wstring& path, unsigned long waitMs = 2000);

// Fills every field from the file; a missing file, section or key, or a value
// that is not a number, gives the field's default (false, 0, empty).
void LoadOptions(const IniFile& file, CaptureOptions& options);

// Writes the eight settings keys, then the keys added since (FullScreenArea). Throws "Unable to write to <path>" at the
// first key that cannot be written; the keys before it stay written.
void SaveOptions(IniFile& file, const CaptureOptions& options);

// Puts the factory settings into the record and the file, then reloads the
// record from the file. A failed write throws before the reload.
void ResetOptions(IniFile& file, CaptureOptions& options);

} // namespace settings
