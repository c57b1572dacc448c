// The user's settings: the in-memory record and its three file operations on
// config.ini, section "Options".
#pragma once

#include "settings/IniFile.h"

#include <string>

namespace settings {

// The kind of file periodic capture writes.
enum class PeriodicFileFormat { Jpeg, Png };

struct CaptureOptions {
    bool StartupSuspend = false;
    bool IncludeCursor = false;
    int FixedRegionWidth = 0;
    int FixedRegionHeight = 0;
    int Interval = 0; // milliseconds
    std::wstring IntervalCent;
    int CaptureIndex = 0; // 0 full screen, 1 active window
    std::wstring RealSavePath;
    // Periodic capture: a picture equal to the last one written is not
    // written again; only the newest PeriodicKeepFiles of its own pictures
    // stay in the folder (0 keeps them all); the kind of file it writes.
    bool PeriodicSkipUnchanged = false;
    int PeriodicKeepFiles = 0;
    PeriodicFileFormat PeriodicFormat = PeriodicFileFormat::Jpeg;
};

// The text of a format in config.ini ("jpg", "png"), and the format a text
// names: "png" in any letter case is PNG, anything else JPEG.
const wchar_t* PeriodicFormatText(PeriodicFileFormat format);
PeriodicFileFormat PeriodicFormatOfText(const std::wstring& text);

// config.ini in the folder of the running executable.
std::wstring ConfigFilePath();

// Why config.ini cannot be read, or nothing when it can (a missing file can:
// it gives the defaults). A file that another program holds open for a moment
// is tried again for up to waitMs milliseconds.
std::wstring ConfigReadProblem(const std::wstring& path, unsigned long waitMs = 2000);

// Fills every field from the file; a missing file, section or key, or a value
// that is not a number, gives the field's default (false, 0, empty).
void LoadOptions(const IniFile& file, CaptureOptions& options);

// Writes the eight settings keys, then the keys of periodic capture's
// additions. Throws "Unable to write to <path>" at the
// first key that cannot be written; the keys before it stay written.
void SaveOptions(IniFile& file, const CaptureOptions& options);

// Puts the factory settings into the record and the file (the nine keys of
// the first version, then the additions at their defaults), then reloads the
// record from the file. A failed write throws before the reload.
void ResetOptions(IniFile& file, CaptureOptions& options);

} // namespace settings
