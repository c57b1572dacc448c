// Files and folders for tests: a fresh folder of their own, and whole files
// read and written as bytes.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace support {

// A fresh folder under %TEMP%, named after its purpose, this process and a
// counter, removed with everything in it (read-only or not) when it goes.
class TempFolder {
public:
    explicit TempFolder(const std::wstring& purpose = L"test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::wstring File(const std::wstring& name) const { return (path_ / name).wstring(); }

private:
    std::filesystem::path path_;
};

std::string ReadFileBytes(const std::wstring& path);
void WriteFileBytes(const std::wstring& path, const std::string& bytes);

// Names of the files in folder matching pattern (L"*.jpg", say).
std::vector<std::wstring> ListFiles(const std::wstring& folder, const std::wstring& pattern = L"*");

} // namespace support
