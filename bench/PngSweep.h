// How the PNG writer's settings were chosen: sizes and times of a 1920x1080
// desktop picture over zlib levels, strategies, filters and strip counts.
#pragma once

#include <filesystem>

namespace bench {

void PngSweep(const std::filesystem::path& folder);

} // namespace bench
