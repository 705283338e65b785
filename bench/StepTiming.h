#pragma once

#include <functional>

// Medians of a step's wall-clock and CPU time over several runs, for the
// benchmark programs that time steps inside one process.
struct TStepTiming
{
    double wall;   // milliseconds
    double cpu;    // milliseconds

    // Runs step runs times after one unmeasured run that warms the allocator and the caches.
    static TStepTiming measure(int runs, const std::function<void()> &step);
    // One line: the step's name and both medians.
    static void report(const char *step, const TStepTiming &timing);
};
