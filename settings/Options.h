// The user's settings: the in-memory record and its three file operations on
// config.ini, section "Options".
#pragma once

#include "settings/HotKeySettings.h"
#include "settings/IniFile.h"

#include <string>

namespace settings {

struct CaptureOptions {
    bool StartupSuspend = false;
    bool IncludeCursor = false;
    int FixedRegionWidth = 0;
    int FixedRegionHeight = 0;
    int Interval = 0; // milliseconds
    std::wstring IntervalCent;
    int CaptureIndex = 0; // 0 full screen, 1 active window
    std::wstring RealSavePath;
    // Keys added after the eight above; a file without them gives the defaults.
    HotKeyTable HotKeys = DefaultHotKeys();
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

// Writes the eight settings keys, then the hotkeys. Throws "Unable to write to <path>" at the
// first key that cannot be written; the keys before it stay written.
void SaveOptions(IniFile& file, const CaptureOptions& options);

// Puts the factory settings into the record and the file, then reloads the
// record from the file. A failed write throws before the reload.
void ResetOptions(IniFile& file, CaptureOptions& options);

} // namespace settings
