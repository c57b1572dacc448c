#include "capture/PeriodicCapture.h"

#include "capture/Grab.h"
#include "capture/PictureFolder.h"
#include "ui/Application.h"
#include "ui/Error.h"
#include "ui/Event.h"
#include "imaging/ImageWriters.h"
#include "imaging/ReplacingFile.h"

#include <cwchar>
#include <exception>
#include <iterator>
#include <thread>
#include <utility>
#include <vector>

namespace capture {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool FolderExists(const std::wstring& folder) {
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folder part of a path with its trailing separator or drive colon
// ("D:\a\b" -> "D:\a\", "D:b" -> "D:"); empty for a bare name.
std::wstring FolderPart(const std::wstring& path) {
    const size_t end = path.find_last_of(L"\\/:");
    return end == std::wstring::npos ? std::wstring() : path.substr(0, end + 1);
}

// Creates what is missing of a folder that is not empty; a level that
// cannot be created throws, with its own name and the system's reason.
void CreateMissingLevels(std::wstring folder) {
    if (IsSeparator(folder.back())) folder.pop_back();
    if (folder.size() < 3 || FolderExists(folder)) return;
    const std::wstring parent = FolderPart(folder);
    // A folder whose parent is itself is a root ("\\?\" and the like); a
    // relative name without a parent lies in the current folder, which exists.
    if (parent == folder) return;
    if (!parent.empty()) CreateMissingLevels(parent);
    // Another program may have made it in the meantime.
    if (CreateDirectoryW(folder.c_str(), nullptr) || FolderExists(folder)) return;
    const DWORD error = GetLastError();
    throw ui::Error(ui::FormatMessageText(L"Cannot create folder \"%s\". %s", {folder, ui::SystemErrorText(error)}));
}

// Milliseconds on a clock that only goes forward, whatever the user does to
// the time of day.
double NowMs() {
    static const double ticksPerMs = [] {
        LARGE_INTEGER frequency{};
        QueryPerformanceFrequency(&frequency);
        return static_cast<double>(frequency.QuadPart) / 1000.0;
    }();
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / ticksPerMs;
}

} // namespace

std::wstring TimeStampedFileName(const std::wstring& folder, const SYSTEMTIME& t, const wchar_t* extension) {
    wchar_t name[64];
    std::swprintf(name, std::size(name), L"%04u-%02u-%02u %02u_%02u_%02u%ls", unsigned{t.wYear}, unsigned{t.wMonth},
                  unsigned{t.wDay}, unsigned{t.wHour}, unsigned{t.wMinute}, unsigned{t.wSecond}, extension);
    return folder + L"\\" + name;
}

std::wstring NumberedFileName(const std::wstring& path, int number) {
    if (number <= 1) return path;
    const size_t folderEnd = path.find_last_of(L"\\/");
    size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (folderEnd != std::wstring::npos && dot < folderEnd)) dot = path.size();
    return path.substr(0, dot) + L" (" + std::to_wstring(number) + L")" + path.substr(dot);
}

std::wstring FreeFileName(const std::wstring& path) {
    for (int number = 1;; ++number) {
        std::wstring candidate = NumberedFileName(path, number);
        if (GetFileAttributesW(candidate.c_str()) == INVALID_FILE_ATTRIBUTES) return candidate;
    }
}

void CreateFolderTree(const std::wstring& folder) {
    if (folder.empty()) throw ui::Error(L"Unable to create directory");
    CreateMissingLevels(folder);
}

// Runs one job at a time on a thread of its own. The hand-over goes through
// the system's slim lock and condition variable: the C++ library's own wait
// through semaphores under MinGW, which cost eight times as much under Wine.
class PeriodicCapture::Helper {
public:
    Helper() : thread_([this] { Run(); }) {}
    ~Helper() {
        AcquireSRWLockExclusive(&lock_);
        quit_ = true;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
        thread_.join();
    }
    Helper(const Helper&) = delete;
    Helper& operator=(const Helper&) = delete;

    void Start(std::function<void()> job) {
        AcquireSRWLockExclusive(&lock_);
        job_ = std::move(job);
        busy_ = true;
        ReleaseSRWLockExclusive(&lock_);
        WakeAllConditionVariable(&changed_);
    }
    // Waits until the job is done; what it threw, or null.
    std::exception_ptr Finish() {
        AcquireSRWLockExclusive(&lock_);
        while (busy_)
            SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
        std::exception_ptr failure = std::exchange(failure_, nullptr);
        ReleaseSRWLockExclusive(&lock_);
        return failure;
    }

private:
    void Run() {
        AcquireSRWLockExclusive(&lock_);
        for (;;) {
            while (!quit_ && !job_)
                SleepConditionVariableSRW(&changed_, &lock_, INFINITE, 0);
            if (quit_) break;
            std::function<void()> job = std::move(job_);
            job_ = nullptr;
            ReleaseSRWLockExclusive(&lock_);
            std::exception_ptr failure;
            try {
                job();
            } catch (...) {
                failure = std::current_exception();
            }
            AcquireSRWLockExclusive(&lock_);
            failure_ = failure;
            busy_ = false;
            WakeAllConditionVariable(&changed_);
        }
        ReleaseSRWLockExclusive(&lock_);
    }

    SRWLOCK lock_ = SRWLOCK_INIT;
    CONDITION_VARIABLE changed_ = CONDITION_VARIABLE_INIT;
    std::function<void()> job_;
    std::exception_ptr failure_;
    bool busy_ = false;
    bool quit_ = false;
    // Last, so that it starts when everything it uses exists.
    std::thread thread_;
};

PeriodicCapture::PeriodicCapture(const settings::CaptureOptions& options,
                                 std::function<settings::PeriodicSource()> source)
    : options_(options), source_(std::move(source)) {
    periodicTimer_.OnTimer = [this] { OnTimer(); };
}

PeriodicCapture::~PeriodicCapture() = default;

void PeriodicCapture::Start(int intervalMs) {
    // Stopped first, so that a start with the period it has already begins a
    // new full period. A period that is not positive never elapses.
    Stop();
    progress_ = {};
    lastWritten_ = {};
    if (intervalMs <= 0) return;
    intervalMs_ = intervalMs;
    running_ = true;
    schedule_.Start(NowMs(), intervalMs);
    ArmTimer();
}

void PeriodicCapture::Stop() {
    running_ = false;
    periodicTimer_.SetEnabled(false);
}

void PeriodicCapture::ArmTimer() {
    periodicTimer_.SetEnabled(false);
    periodicTimer_.SetInterval(schedule_.DelayFrom(NowMs()));
    periodicTimer_.SetEnabled(true);
}

void PeriodicCapture::OnTimer() {
    // The system timer repeats; each slot sets it afresh.
    periodicTimer_.SetEnabled(false);
    if (!running_) return;
    if (!schedule_.IsDue(NowMs())) {
        // Fired before its time (the system's timers are coarse): wait out the rest.
        ArmTimer();
        return;
    }
    const std::exception_ptr failure = RunTick();
    // Set before the error box opens: its message loop keeps the ticks coming.
    if (running_) {
        schedule_.TickDone(NowMs());
        ArmTimer();
    }
    Report(failure);
}

void PeriodicCapture::Tick() { Report(RunTick()); }

std::exception_ptr PeriodicCapture::RunTick() {
    if (paused_) return nullptr;
    try {
        ui::Raise(TickStarting);
        TakePicture();
        ui::Raise(TickSucceeded);
        return nullptr;
    } catch (...) {
        return std::current_exception();
    }
}

void PeriodicCapture::Report(std::exception_ptr failure) {
    // The error box of a failed tick runs a message loop, in which the
    // timer keeps firing. Those ticks still take their pictures, so that
    // capture resumes by itself as soon as the cause is gone, even while
    // the box waits for a user who is away; one that fails too adds no
    // second box.
    if (!failure || reporting_) return;
    reporting_ = true;
    try {
        std::rethrow_exception(failure);
    } catch (...) {
        ui::App().ReportCurrentException();
    }
    reporting_ = false;
}

bool PeriodicCapture::SameAsLastWritten(const ui::Bitmap& picture, const std::wstring& folder,
                                        settings::PeriodicFileFormat format) const {
    return !lastWritten_.Empty() && folder == lastFolder_ && format == lastFormat_ &&
           ui::PixelsEqual(picture, lastWritten_);
}

void PeriodicCapture::TakePicture() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const bool includeCursor = options_.IncludeCursor;
    const std::wstring folder = options_.PeriodicFolder;
    const settings::PeriodicFileFormat format = options_.More.PeriodicFormat;
    const wchar_t* extension = format == settings::PeriodicFileFormat::Png ? L".png" : L".jpg";
    ScreenCursor cursor;
    std::unique_ptr<imaging::ReplacingFile> file;
    // Finding the cursor and making the file take a few round trips to the
    // window and file systems each, which under load cost as much as a tenth
    // of the grab and the encoding together: the helper makes them while
    // this thread reads the screen. The writer puts the file beside its name
    // and renames it when complete, so a failed write leaves no partial
    // picture behind, and a picture found unchanged leaves nothing at all.
    if (!helper_) helper_ = std::make_unique<Helper>();
    helper_->Start([&] {
        if (includeCursor) cursor = FindScreenCursor();
        CreateFolderTree(folder);
        file = std::make_unique<imaging::ReplacingFile>(FreeFileName(TimeStampedFileName(folder, now, extension)));
    });
    // The method is read before the screen: the grab takes only what the
    // picture shows, the monitors of Full Screen or the foreground window.
    const bool fullScreen = source_() == settings::PeriodicSource::FullScreen;
    ui::Bitmap& picture = fullScreen ? screen_ : window_;
    RECT area{};
    // The job works on this function's locals: it ends before they do.
    try {
        const std::vector<ui::Monitor> monitors = ui::Monitors();
        area = fullScreen ? FullScreenArea(options_.More.FullScreenArea, monitors) : ActiveWindowArea();
        GrabScreenArea(picture, area, monitors);
    } catch (...) {
        helper_->Finish();
        throw;
    }
    if (const std::exception_ptr failure = helper_->Finish()) std::rethrow_exception(failure);
    if (includeCursor) DrawScreenCursor(picture, cursor, {area.left, area.top});

    const bool skipUnchanged = options_.More.PeriodicSkipUnchanged;
    if (skipUnchanged && SameAsLastWritten(picture, folder, format)) {
        ++progress_.skipped;
        return;
    }
    if (format == settings::PeriodicFileFormat::Png)
        imaging::WritePng(picture, *file);
    else
        imaging::WriteJpeg(picture, *file, imaging::kRealTimeJpeg);
    ++progress_.written;
    progress_.lastWritten = now;
    if (skipUnchanged) {
        // The picture just written becomes the one to compare with; the old
        // one's memory serves the next grab.
        std::swap(picture, lastWritten_);
        lastFolder_ = folder;
        lastFormat_ = format;
    } else {
        lastWritten_ = {};
    }
    PruneOwnPictures(folder, options_.More.PeriodicKeepFiles);
}

} // namespace capture
