// Periodic (real-time) capture: at every period it grabs the screen (what a
// Full Screen capture takes) or the foreground window and writes the picture,
// without showing any window, as a JPEG or PNG file named after the local date
// and time into the folder of the settings. Ticks keep to a fixed schedule
// from the start. It reads the settings and the method at every tick, so
// changes apply from the next one; only the period is fixed when it starts.
// It can skip pictures equal to the last one written and keep the folder to a
// number of pictures, and it writes nothing while paused (the session locked,
// the display off).
#pragma once

#include "capture/PeriodicSchedule.h"
#include "settings/Options.h"
#include "ui/Bitmap.h"
#include "ui/Timer.h"

#include <windows.h>

#include <functional>
#include <exception>
#include <memory>
#include <optional>
#include <string>

namespace capture {

// The file of a picture taken at a local time: the folder, a separator, then
// "yyyy-mm-dd hh_nn_ss" and the extension (".jpg", ".png"). The folder is
// used as it is: one that ends in a separator gives a doubled one, which the
// file system takes as a single one.
std::wstring TimeStampedFileName(const std::wstring& folder, const SYSTEMTIME& localTime,
                                 const wchar_t* extension = L".jpg");

// What periodic capture has done since it was last started.
struct PeriodicProgress {
    int written = 0;
    // Ticks that wrote nothing because the picture equalled the last one written.
    int skipped = 0;
    // The local time of the last picture written.
    std::optional<SYSTEMTIME> lastWritten;
};

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
    // period later, then one at every period from the start. A period of 0
    // or less runs nothing.
    void Start(int intervalMs);
    void Stop();
    bool Running() const { return running_; }
    int Interval() const { return intervalMs_; }
    const PeriodicProgress& Progress() const { return progress_; }

    // While paused, ticks come as usual but grab and write nothing.
    void SetPaused(bool paused) { paused_ = paused; }
    bool Paused() const { return paused_; }

    // Raised at the start of every tick that takes a picture (the owner
    // stops the capture trigger's timer), and after a tick that wrote its
    // file or found the picture unchanged (the owner starts it again, and
    // shows the progress). After a failed tick the error box has been shown.
    std::function<void()> TickStarting;
    std::function<void()> TickSucceeded;

    // One tick: grab, compare, encode, write, keep the folder to its budget.
    // An error ends it and is shown in the standard error box. While that
    // box is open, further ticks run and write their pictures, but one that
    // fails shows no box of its own.
    void Tick();

private:
    class Helper;

    // The timer's handler: a tick when its slot has come, then the timer
    // set for the next slot.
    void OnTimer();
    void ArmTimer();
    // The tick without its report: what it threw, or null.
    std::exception_ptr RunTick();
    void Report(std::exception_ptr failure);
    // Grabs, then writes the file unless the picture is unchanged; throws
    // ui::Error.
    void TakePicture();
    // Whether picture equals the last one written into that folder, as that
    // kind of file.
    bool SameAsLastWritten(const ui::Bitmap& picture, const std::wstring& folder,
                           settings::PeriodicFileFormat format) const;

    const settings::CaptureOptions& options_;
    std::function<settings::PeriodicSource()> source_;
    // The grabs of the screen and of the foreground window, kept from tick
    // to tick so that their memory is not allocated anew.
    ui::Bitmap screen_;
    ui::Bitmap window_;
    // The last picture written, with its folder and format, kept while
    // unchanged pictures are skipped. It trades places with the picture just
    // written, so that nothing is copied.
    ui::Bitmap lastWritten_;
    std::wstring lastFolder_;
    settings::PeriodicFileFormat lastFormat_ = settings::PeriodicFileFormat::Jpeg;

    // Set for one slot at a time.
    ui::Timer periodicTimer_{0, false};
    PeriodicSchedule schedule_;
    int intervalMs_ = 0;
    bool running_ = false;
    bool paused_ = false;
    PeriodicProgress progress_;
    // True while the error box of a failed tick is open.
    bool reporting_ = false;
    // A thread that looks up the cursor and makes the file while the tick
    // reads the screen; started by the first tick.
    std::unique_ptr<Helper> helper_;
};

} // namespace capture
