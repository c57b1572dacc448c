// One operation over and over for a while, for a sampling profiler to
// watch (perf record on the Wine process): where the time of a row goes.
#pragma once

#include <string>

namespace bench {

// grab-new     GrabScreen into a new picture each time (a capture)
// grab-kept    GrabScreen into one kept picture (periodic capture)
// floor        the floor's BitBlt
// tick         one periodic-capture step
// zoom         Zoom In and Original on 3840x2160 in the picture window
// png          the PNG writer on 1920x1080
// Gives false for an unknown name.
bool Loop(const std::string& name, double seconds);

} // namespace bench
