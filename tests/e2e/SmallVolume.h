// A small file system of its own that a test can fill up and make read-only,
// as a USB stick or a network share does to a program that writes there:
// a 1 MB tmpfs, mounted from the Unix side of Wine (which runs a Unix program
// that CreateProcess is given) and reached through Wine's Z: drive. It needs
// Wine and a user who may mount, as root in the test container is; elsewhere
// it is unavailable and says why.
#pragma once

#include <string>

namespace e2e {

class SmallVolume {
public:
    SmallVolume();
    // Unmounts, whatever state the volume was left in.
    ~SmallVolume();
    SmallVolume(const SmallVolume&) = delete;
    SmallVolume& operator=(const SmallVolume&) = delete;

    // Empty when the volume is mounted; otherwise why it is not.
    const std::string& Unavailable() const { return unavailable_; }
    // The volume's folder as a Windows path.
    const std::wstring& Path() const { return path_; }

    // Fills all but 32 KB with a file of its own, so that a picture starts
    // to be written and then runs out of room; or removes that file.
    bool Fill();
    bool Free();
    // Mounts the volume again read-only or writable. A remount waits while a
    // file is open for writing on it, so it is tried for a few seconds.
    bool SetReadOnly(bool readOnly);

private:
    // Runs a Unix shell command and gives whether it ended with 0.
    bool Shell(const std::string& command) const;

    std::string unixPath_;
    std::wstring path_;
    std::string unavailable_;
    bool mounted_ = false;
};

} // namespace e2e
