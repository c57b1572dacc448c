// Periodic capture's own pictures in a folder: the names it writes and the
// budget that keeps only the newest of them. A file whose name periodic
// capture would not have written is never touched.
#pragma once

#include <optional>
#include <string>

namespace capture {

// A file name that periodic capture writes: "yyyy-mm-dd hh_nn_ss", then
// " (n)" for the n-th picture of the same second (n from 2), then ".jpg" or
// ".png", exactly so.
struct OwnPictureName {
    std::wstring timeStamp; // "yyyy-mm-dd hh_nn_ss"
    int number = 1;         // 1 for a name without " (n)"
};
std::optional<OwnPictureName> ParseOwnPictureName(const std::wstring& fileName);

// True when a comes before b: the earlier time stamp, then the lower number.
bool OlderPicture(const OwnPictureName& a, const OwnPictureName& b);

// Deletes the oldest of periodic capture's own pictures in the folder, both
// formats counted together, until keep of them remain; keep 0 or less keeps
// all. A picture that cannot be deleted (held open, read-only) stays and is
// not replaced by a newer one. Gives how many were deleted.
int PruneOwnPictures(const std::wstring& folder, int keep);

} // namespace capture
