#pragma once

#include <functional>
#include <vector>

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

    // The process's CPU time so far, in milliseconds; the measured steps run on the one thread.
    static double cpuMs();
    // The middle value (the mean of the two middle ones for an even count; 0 for none).
    static double median(std::vector<double> values);
};
