// A file written beside its final name and put in place only when complete.
// The data goes to a fresh temporary file in the target's folder; Commit
// renames it to the target in one step, after flushing it to disk when it
// replaces a file, so a failed or interrupted write never leaves a truncated
// file behind and never destroys the file that it was to replace. Failures throw ui::Error with the file
// layer's message: Cannot create file "<full name>". <system reason>
#pragma once

#include "ui/Handles.h"

#include <cstddef>
#include <string>
#include <vector>

namespace imaging {

class ReplacingFile {
public:
    // Resolves the full name and creates the temporary file. Throws when the
    // folder is missing or not writable, or when the target is read-only or a
    // folder: refused now, before any work is spent on the content.
    explicit ReplacingFile(const std::wstring& path);
    // Without a successful Commit, the temporary file is removed.
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // Buffered writing. It never throws, so that it can be called from inside
    // a C library's callback: the first failure is remembered, later data is
    // dropped, and Commit reports it.
    void Write(const void* data, std::size_t size) noexcept;

    // Closes and moves the file to the target (flushed first when it
    // replaces one); throws on failure.
    void Commit();

    const std::wstring& FullPath() const { return fullPath_; }

    // The file layer's message for a failure with the given system error code.
    static std::wstring CreateErrorText(const std::wstring& fullPath, unsigned long code);

private:
    [[noreturn]] void Fail(unsigned long code) const;
    bool FlushBuffer() noexcept;

    std::wstring fullPath_;
    std::wstring tempPath_;
    ui::UniqueKernelHandle file_;
    std::vector<unsigned char> buffer_;
    unsigned long error_ = 0;
    bool committed_ = false;
};

} // namespace imaging
