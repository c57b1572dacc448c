// Reads back a JPEG file the program wrote, with the real library: its size,
// or nothing when it does not decode to the end.
#pragma once

#include <optional>
#include <string>

namespace e2e {

struct JpegSize {
    int width = 0;
    int height = 0;
};

std::optional<JpegSize> DecodeJpegFile(const std::wstring& path);

} // namespace e2e
