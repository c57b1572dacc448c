#include "tests/e2e/SmallVolume.h"

#include "tests/support/Wait.h"
#include "tests/support/Windows.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace e2e {

namespace {

bool RunningUnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

std::wstring Widen(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Wine's Z: drive is the Unix root.
std::wstring WindowsPathOf(const std::string& unixPath) {
    std::wstring path = L"Z:" + Widen(unixPath);
    for (wchar_t& c : path)
        if (c == L'/') c = L'\\';
    return path;
}

} // namespace

SmallVolume::SmallVolume() {
    if (!RunningUnderWine()) {
        unavailable_ = "a volume of its own is mounted only under Wine";
        return;
    }
    if (GetFileAttributesW(L"Z:\\bin\\sh") == INVALID_FILE_ATTRIBUTES) {
        unavailable_ = "no Unix shell at Z:\\bin\\sh";
        return;
    }
    unixPath_ = "/tmp/snapora-volume-" + std::to_string(GetCurrentProcessId());
    path_ = WindowsPathOf(unixPath_);
    if (!Shell("mkdir -p " + unixPath_ + " && mount -t tmpfs -o size=1m snapora-test " + unixPath_)) {
        unavailable_ = "mount -t tmpfs is not permitted here (it needs root or CAP_SYS_ADMIN)";
        Shell("rmdir " + unixPath_);
        return;
    }
    mounted_ = true;
    const DWORD attributes = GetFileAttributesW(path_.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        unavailable_ = "the mounted volume is not seen at " + support::Narrow(path_);
}

SmallVolume::~SmallVolume() {
    if (mounted_) Shell("umount " + unixPath_ + " || umount -l " + unixPath_ + "; rmdir " + unixPath_);
}

bool SmallVolume::Fill() {
    const std::string filler = unixPath_ + "/filler";
    return Shell("cat /dev/zero > " + filler + " 2>/dev/null; truncate -s -32K " + filler + " && test -s " + filler);
}

bool SmallVolume::Free() { return Shell("rm -f " + unixPath_ + "/filler"); }

bool SmallVolume::SetReadOnly(bool readOnly) {
    const std::string command = "mount -o remount," + std::string(readOnly ? "ro " : "rw ") + unixPath_;
    return support::WaitUntil([&] { return Shell(command); }, 5000, 100);
}

bool SmallVolume::Shell(const std::string& command) const {
    // Wine starts a Unix program that CreateProcess is given, but hands back
    // a process handle that can neither be waited for nor asked for an exit
    // code: the command leaves its exit code in a file instead, put in place
    // by a rename once it is complete.
    static int counter = 0;
    const std::string result =
        "/tmp/snapora-shell-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
    std::wstring commandLine =
        Widen("/bin/sh -c \"" + command + "; echo $? > " + result + ".part; mv " + result + ".part " + result + "\"");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(L"Z:\\bin\\sh", commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return false;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    const std::wstring resultPath = WindowsPathOf(result);
    if (!support::WaitUntil([&] { return GetFileAttributesW(resultPath.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000,
                            20))
        return false;
    int code = -1;
    std::ifstream(std::filesystem::path(resultPath)) >> code;
    DeleteFileW(resultPath.c_str());
    return code == 0;
}

} // namespace e2e
