#include "imaging/ReplacingFile.h"

#include "ui/Error.h"

#include <windows.h>

#include <atomic>
#include <cstring>

namespace imaging {

namespace {

constexpr std::size_t kBufferSize = 256 * 1024;

std::wstring FullPathName(const std::wstring& path) {
    const DWORD length = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (length == 0) return path;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return path;
    full.resize(written);
    return full;
}

} // namespace

std::wstring ReplacingFile::CreateErrorText(const std::wstring& fullPath, unsigned long code) {
    return ui::FormatMessageText(L"Cannot create file \"%s\". %s", {fullPath, ui::SystemErrorText(code)});
}

void ReplacingFile::Fail(unsigned long code) const { throw ui::Error(CreateErrorText(fullPath_, code)); }

ReplacingFile::ReplacingFile(const std::wstring& path) : fullPath_(FullPathName(path)) {
    // The rename at the end would overwrite a read-only file wherever the
    // account may (an administrator, or root under Wine), and would fail late
    // on a folder: both are refused before anything is written.
    const DWORD attributes = GetFileAttributesW(fullPath_.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)))
        Fail(ERROR_ACCESS_DENIED);

    // A name of our own beside the target, so that the final rename stays on
    // one volume and is atomic; CREATE_NEW never takes over someone's file.
    static std::atomic<unsigned> counter{0};
    for (int attempt = 0;; ++attempt) {
        tempPath_ = fullPath_ + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
                    std::to_wstring(counter.fetch_add(1) + 1) + L".tmp";
        HANDLE file =
            CreateFileW(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            file_.Reset(file);
            break;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS || attempt >= 100) {
            tempPath_.clear();
            Fail(code);
        }
    }
    buffer_.reserve(kBufferSize);
}

ReplacingFile::~ReplacingFile() {
    if (committed_ || tempPath_.empty()) return;
    file_.Reset();
    DeleteFileW(tempPath_.c_str());
}

bool ReplacingFile::FlushBuffer() noexcept {
    std::size_t done = 0;
    while (done < buffer_.size()) {
        DWORD written = 0;
        const DWORD chunk = static_cast<DWORD>(buffer_.size() - done);
        if (!WriteFile(file_.Get(), buffer_.data() + done, chunk, &written, nullptr) || written == 0) {
            error_ = GetLastError();
            if (error_ == 0) error_ = ERROR_WRITE_FAULT;
            buffer_.clear();
            return false;
        }
        done += written;
    }
    buffer_.clear();
    return true;
}

void ReplacingFile::Write(const void* data, std::size_t size) noexcept {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0 && error_ == 0) {
        const std::size_t room = kBufferSize - buffer_.size();
        const std::size_t take = size < room ? size : room;
        buffer_.insert(buffer_.end(), bytes, bytes + take);
        bytes += take;
        size -= take;
        if (buffer_.size() == kBufferSize) FlushBuffer();
    }
}

void ReplacingFile::Commit() {
    if (error_ == 0) FlushBuffer();
    if (error_ != 0) Fail(error_);
    // A new name replaces nothing: the file moves there without waiting for
    // the disk (a flush costs a periodic capture more than its own write),
    // and MoveFileEx without MOVEFILE_REPLACE_EXISTING keeps it from taking
    // the place of a file that another program made meanwhile.
    if (GetFileAttributesW(fullPath_.c_str()) == INVALID_FILE_ATTRIBUTES) {
        file_.Reset();
        if (MoveFileExW(tempPath_.c_str(), fullPath_.c_str(), MOVEFILE_WRITE_THROUGH)) {
            committed_ = true;
            return;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_ALREADY_EXISTS && code != ERROR_FILE_EXISTS) Fail(code);
        file_.Reset(CreateFileW(tempPath_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file_) Fail(GetLastError());
    }
    // Replacing a file, the content reaches the disk before the name moves,
    // so that after a crash the target is either the old file or the
    // complete new one.
    if (!FlushFileBuffers(file_.Get())) Fail(GetLastError());
    file_.Reset();
    if (!MoveFileExW(tempPath_.c_str(), fullPath_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        Fail(GetLastError());
    committed_ = true;
}

} // namespace imaging
