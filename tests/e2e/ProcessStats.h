// What a running process holds, read from outside it: the figures that show
// a leak over a long run. Used by the end-to-end tests and the soak driver.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

namespace e2e {

struct ProcessStats {
    // Committed memory that belongs to the process alone (heaps, bitmaps'
    // pixels, stacks), not the shared images of its DLLs.
    std::uint64_t privateBytes = 0;
    // Live GDI objects (DCs, bitmaps, brushes, pens, fonts, regions, ...),
    // the process's stock objects included.
    int gdiObjects = 0;
    // Its windows: top-level ones, hidden or not, and all their children.
    int windows = 0;
};

// Nothing when the process cannot be opened or read.
std::optional<ProcessStats> ReadProcessStats(DWORD processId);

// The number of live GDI objects of a process opened with
// PROCESS_QUERY_INFORMATION | PROCESS_VM_READ (the current one too).
// GetGuiResources gives 0 under Wine, so the objects are counted in the
// process's GDI handle table instead; see ProcessStats.cpp.
std::optional<int> CountGdiObjects(HANDLE process);

} // namespace e2e
