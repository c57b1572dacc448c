// What Snapora costs other programs and the machine while it waits: the
// time its low-level hooks add to every other program's input, and the
// memory the real Snapora.exe holds idle beside a bare Wine process that
// shows one window (bench_window.exe). Both run Snapora.exe as its own
// process, with its main window hidden and the trigger armed.
#pragma once

#include "bench/Measure.h"

#include <filesystem>
#include <string>

namespace bench {

// The time from SendInput to the other program's WM_KEYDOWN and
// WM_MOUSEMOVE, without Snapora, with it idle, and while it runs periodic
// capture of the whole display (period in milliseconds), whose pictures go
// to folder; the 99th percentiles and what Snapora adds to them.
void MeasureInputToOtherPrograms(Table& table, const std::filesystem::path& folder, int periodMs);

// Snapora.exe's private bytes before any capture and after a Full Screen
// capture by Ctrl+1 has closed, beside the bare window's; mark tells the
// rows of the allocator settings apart.
void MeasureResidentMemory(Table& table, const std::string& mark);

} // namespace bench
