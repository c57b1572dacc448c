// The user's settings: the in-memory record and its three file operations on
// config.ini, section "Options".
#pragma once

#include "settings/HotKeySettings.h"
#include "settings/IniFile.h"

#include <optional>
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

// The unit that the Options window shows the interval in. The file and the
// unit box may hold any text there: one that names none of the three units is
// kept as it was read, so that the box shows it and Save writes it back.
class TimeUnit {
public:
    enum class Kind { Seconds, Minutes, Hours, Unrecognised };

    // An empty text, as a file without the key gives.
    TimeUnit() = default;
    // The unit a text names: "Seconds", "Minutes" or "Hours", compared
    // exactly, with case; any other text is kept as an unrecognised unit.
    TimeUnit(std::wstring text);
    TimeUnit(const wchar_t* text) : TimeUnit(std::wstring(text)) {}
    TimeUnit(Kind known);

    Kind GetKind() const { return kind_; }
    std::wstring Text() const;
    // Milliseconds in one unit; none for an unrecognised text.
    std::optional<int> Milliseconds() const;

    bool operator==(const TimeUnit&) const = default;

private:
    Kind kind_ = Kind::Unrecognised;
    std::wstring unrecognisedText_;
};

// What periodic capture grabs.
enum class PeriodicSource { FullScreen, ActiveWindow };

// The kind of file periodic capture writes.
enum class PeriodicFileFormat { Jpeg, Png };

// The source that a "Real Time Method" index stands for: 0 is Full Screen,
// any other value (-1 for no choice, or whatever a hand-edited file holds)
// Active Window.
constexpr PeriodicSource PeriodicSourceOf(int index) {
    return index == 0 ? PeriodicSource::FullScreen : PeriodicSource::ActiveWindow;
}

// Settings added after the original eight, each with the default that a
// file without its key gives, so that such a file behaves as before. Their
// keys are written after the original ones, in the order of the fields here;
// the More Options window edits them.
struct MoreOptions {
    // What a Full Screen capture, and periodic capture's "Full Screen", take
    // ("FullScreenArea").
    ScreenArea FullScreenArea = ScreenArea::PrimaryMonitor;
    // The keys of the commands; HotKeyCommand indexes them.
    HotKeyTable HotKeys = DefaultHotKeys();
    // Periodic capture: a picture equal to the last one written is not
    // written again; only the newest PeriodicKeepFiles of its own pictures
    // stay in the folder (0 keeps them all); the kind of file it writes.
    bool PeriodicSkipUnchanged = false;
    int PeriodicKeepFiles = 0;
    PeriodicFileFormat PeriodicFormat = PeriodicFileFormat::Jpeg;

    bool operator==(const MoreOptions&) const = default;
};

struct CaptureOptions {
    // Start with the suspend panel alone, the main window hidden.
    bool StartupSuspend = false;
    bool IncludeCursor = false;
    int FixedRegionWidth = 0;
    int FixedRegionHeight = 0;
    // The period of periodic capture, in milliseconds.
    int Interval = 0;
    // The unit the Options window shows Interval in.
    TimeUnit IntervalUnit;
    // The "Real Time Method" choice as last saved, as read: Save writes back
    // whatever the file held (PeriodicSourceOf tells what it means).
    int PeriodicSourceIndex = 0;
    // The folder that periodic capture writes into.
    std::wstring PeriodicFolder;
    MoreOptions More;

    bool operator==(const CaptureOptions&) const = default;
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

// Writes the eight original settings keys, then those of MoreOptions. Throws
// "Unable to write to <path>" at the first key that cannot be written; the
// keys before it stay written.
void SaveOptions(IniFile& file, const CaptureOptions& options);

// Puts the factory settings into the record and the file (the original keys,
// then those of MoreOptions at their defaults), then reloads the record from
// the file. A failed write throws before the reload.
void ResetOptions(IniFile& file, CaptureOptions& options);

// The More Options window's Reset: MoreOptions back to its defaults in the
// record, and the file written as SaveOptions writes it.
void ResetMoreOptions(IniFile& file, CaptureOptions& options);

} // namespace settings
