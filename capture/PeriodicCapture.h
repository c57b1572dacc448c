// Periodic (real-time) capture: at every period it grabs the whole screen or
// the foreground window and writes the picture, without showing any window,
// as a JPEG file named after the local date and time into the folder of the
// settings. It reads the settings and the method at every tick, so changes
// apply from the next one; only the period is fixed when it starts.
#pragma once

#include "settings/Options.h"
#include "ui/Bitmap.h"
#include "ui/Timer.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

namespace capture {

// The file of a picture taken at a local time: the folder, a separator, then
// "yyyy-mm-dd hh_nn_ss.jpg". The folder is used as it is: one that ends in a
// separator gives a doubled one, which the file system takes as a single one.
std::wstring TimeStampedFileName(const std::wstring& folder, const SYSTEMTIME& localTime);

// The name that a file takes as the number-th of its name: the name itself
// for 1, otherwise " (number)" inserted before the extension
// ("a\b.jpg" -> "a\b (2).jpg").
std::wstring NumberedFileName(const std::wstring& path, int number);

// The first of NumberedFileName(path, 1), (path, 2), ... that names nothing
// on disk, so that a new picture never replaces an earlier one.
std::wstring FreeFileName(const std::wstring& path);

// Creates a folder with every missing folder above it, working down from the
// first one that exists. An empty text throws "Unable to create directory".
// A text of fewer than three characters (a drive such as "D:") counts as
// existing. A level that cannot be created throws "Cannot create folder
// "<level>". <reason>", so that the user reads why rather than the later
// failure of the file inside it.
void CreateFolderTree(const std::wstring& folder);

class PeriodicCapture {
public:
    // source says at every tick what to grab.
    PeriodicCapture(const settings::CaptureOptions& options, std::function<settings::PeriodicSource()> source);
    ~PeriodicCapture();
    PeriodicCapture(const PeriodicCapture&) = delete;
    PeriodicCapture& operator=(const PeriodicCapture&) = delete;

    // (Re)starts the ticks with that period; the first tick comes one full
    // period later. A period of 0 or less runs nothing.
    void Start(int intervalMs);
    void Stop();
    bool Running() const { return periodicTimer_.Running(); }
    int Interval() const { return static_cast<int>(periodicTimer_.Interval()); }

    // Raised at the start of every tick (the owner stops the capture
    // trigger's timer), and after a tick that wrote its file (the owner
    // starts it again). After a failed tick the error box has been shown.
    std::function<void()> TickStarting;
    std::function<void()> TickSucceeded;

    // One tick: grab, encode, write. An error ends it and is shown in the
    // standard error box. While that box is open, further ticks run and
    // write their pictures, but one that fails shows no box of its own.
    void Tick();

private:
    class Helper;

    // Grabs, then writes the file; throws ui::Error.
    void TakePicture();

    const settings::CaptureOptions& options_;
    std::function<settings::PeriodicSource()> source_;
    // The grab of the whole screen and the foreground window's part of it,
    // kept from tick to tick so that their memory is not allocated anew.
    ui::Bitmap screen_;
    ui::Bitmap window_;
    ui::Timer periodicTimer_{0, false};
    // True while the error box of a failed tick is open.
    bool reporting_ = false;
    // A thread that looks up the cursor and makes the file while the tick
    // reads the screen; started by the first tick.
    std::unique_ptr<Helper> helper_;
};

} // namespace capture
