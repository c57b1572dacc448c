// What the long-run tests and the soak driver share: the user's capture
// cycle by hotkey, periodic capture started and stopped by its hotkeys, and
// the reading of the folder that periodic capture fills.
#pragma once

#include "tests/support/RunningSnapora.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

using namespace support;

// One capture as a user makes it over and over: Ctrl+1, the picture window
// comes up maximized, "Cancel" closes it, and the mouse moves off the button
// so that the next window does not appear under a resting pointer. Gives
// how many presses of "Cancel" it took (a press can be lost under Wine, and
// up to three are made), or 0 when the window did not come or did not close.
int CaptureAndCancel(const RunningSnapora& app, DWORD timeoutMs = 8000);

// A settings file for periodic capture every periodMs into folder.
std::string PeriodicConfig(int periodMs, const std::wstring& folder);

// Ctrl+R and OK on the confirmation; Ctrl+S. Both wait for the main window's
// "Real Time Capture" box to show the new state and say whether it did.
bool StartPeriodicCapture(const RunningSnapora& app, DWORD timeoutMs = 8000);
bool StopPeriodicCapture(const RunningSnapora& app, DWORD timeoutMs = 8000);

// The pictures of a periodic-capture folder, read back.
struct PictureSeries {
    int files = 0;     // *.jpg
    int decodable = 0; // of those, the ones that decode to the end
    // The *.jpg files of zero bytes, and the names that are not a picture
    // the program finished (temporary files of an interrupted write).
    int empty = 0;
    std::vector<std::wstring> others;
    // Names that do not read as "yyyy-mm-dd hh_nn_ss[ (n)].jpg".
    int unnamed = 0;
    // Seconds between consecutive time stamps, in order of time.
    std::vector<std::int64_t> steps;
    // The steps longer than the period plus one second of timer jitter.
    int Gaps(int periodSeconds) const;
    std::int64_t LongestStep() const;
};

// Reads every file of the folder; with decode false, only names and sizes.
PictureSeries ReadPictureSeries(const std::wstring& folder, bool decode = true);

// Seconds since 1601 of the local time stamp in a file name
// "yyyy-mm-dd hh_nn_ss.jpg" or "yyyy-mm-dd hh_nn_ss (n).jpg".
std::optional<std::int64_t> TimeStampOf(const std::wstring& name);

} // namespace e2e
