// What the benchmark measures with: a clock, medians over several runs,
// message pumping that wakes as soon as something arrives, the process's
// private bytes, and the table of figures beside their references.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace bench {

// Milliseconds on the performance counter since an arbitrary origin.
double NowMs();

double Median(std::vector<double> values);
// The value that percent of the values are at most (the nearest rank).
double Percentile(std::vector<double> values, double percent);

// The median time of an operation over a number of runs, in milliseconds.
double MedianMs(int runs, const std::function<void()>& operation);

// Handles messages until done() holds or the timeout passes; it waits for
// the next message rather than sleeping, so a figure taken when done()
// becomes true is late by the handling of one message at most.
bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);
void PumpFor(int ms);

// The process's private memory in bytes.
double PrivateBytes();

// One line of the table: a figure, the reference it is judged against, their
// ratio, and the target for that ratio.
struct Row {
    std::string what;
    double figure = 0;
    std::string unit; // "ms", "bytes", "frames"
    std::string reference;
    double referenceFigure = 0; // 0: no reference figure
    // The ratio figure / referenceFigure must be at most this (0: no target).
    double targetRatio = 0;
};

class Table {
public:
    explicit Table(std::string display) : display_(std::move(display)) {}
    void Add(Row row) { rows_.push_back(std::move(row)); }
    // The rows, one per line, after a header line unless header is false.
    void Print(bool header) const;

private:
    std::string display_;
    std::vector<Row> rows_;
};

} // namespace bench
