#include "bench/Measure.h"

#include "ui/Application.h"

#include <psapi.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace bench {

double NowMs() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / frequency;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

double Percentile(std::vector<double> values, double percent) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<size_t>(std::ceil(percent / 100 * static_cast<double>(values.size())));
    return values[std::clamp<size_t>(rank, 1, values.size()) - 1];
}

double MedianMs(int runs, const std::function<void()>& operation) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double from = NowMs();
        operation();
        times.push_back(NowMs() - from);
    }
    return Median(times);
}

bool PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const double end = NowMs() + timeoutMs;
    for (;;) {
        ui::App().ProcessMessages();
        if (done()) return true;
        const double left = end - NowMs();
        if (left <= 0) return false;
        // Wakes for any message, posted, sent or input, and at the latest
        // after a millisecond, so that a condition that changes without a
        // message (the screen's pixels) is looked at often.
        MsgWaitForMultipleObjectsEx(0, nullptr, 1, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    }
}

void PumpFor(int ms) {
    PumpUntil([] { return false; }, ms);
}

double PrivateBytes() {
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof(memory));
    // PagefileUsage is the private commit charge; Wine fills it (and not
    // PrivateUsage) from the process's resident anonymous memory.
    return static_cast<double>(memory.PagefileUsage);
}

namespace {

std::string Figure(double value, const std::string& unit) {
    char text[48];
    if (unit == "bytes")
        std::snprintf(text, sizeof(text), "%.0f B", value);
    else if (unit == "frames")
        std::snprintf(text, sizeof(text), "%.2f fr", value);
    else
        std::snprintf(text, sizeof(text), "%.2f %s", value, unit.c_str());
    return text;
}

} // namespace

void Table::Print(bool header) const {
    const char* format = "%-48s %-10s %14s  %-30s %14s %7s %8s  %s\n";
    if (header)
        std::printf(format, "what", "display", "median", "reference", "ref. median", "ratio", "target", "verdict");
    for (const Row& row : rows_) {
        std::string ratio = "-", target = "-", verdict = "";
        if (row.referenceFigure > 0) {
            char text[32];
            const double value = row.figure / row.referenceFigure;
            std::snprintf(text, sizeof(text), "%.2f", value);
            ratio = text;
            if (row.targetRatio > 0) {
                std::snprintf(text, sizeof(text), "<= %.2f", row.targetRatio);
                target = text;
                verdict = value <= row.targetRatio ? "met" : "MISSED";
            }
        }
        std::printf(format, row.what.c_str(), display_.c_str(), Figure(row.figure, row.unit).c_str(),
                    row.reference.c_str(),
                    row.referenceFigure > 0 ? Figure(row.referenceFigure, row.unit).c_str() : "-", ratio.c_str(),
                    target.c_str(), verdict.c_str());
    }
    std::fflush(stdout);
}

} // namespace bench
