// Reads back a PNG file the program wrote, with libpng: its pixels, or
// nothing when it does not decode.
#pragma once

#include "tests/e2e/Driver.h"

#include <optional>
#include <string>

namespace e2e {

std::optional<Picture> DecodePngFile(const std::wstring& path);

} // namespace e2e
