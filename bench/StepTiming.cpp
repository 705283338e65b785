#include "StepTiming.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <vector>

namespace {
// The calling thread's user and system time so far.
double cpuMs()
{
    rusage usage;
    getrusage(RUSAGE_THREAD, &usage);
    const auto ms = [](const timeval &t) { return 1e3 * double(t.tv_sec) + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}
} // namespace

TStepTiming TStepTiming::measure(int runs, const std::function<void()> &step)
{
    step();
    std::vector<double> wall, cpu;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        const double cpuStart = cpuMs();
        timer.start();
        step();
        wall.push_back(double(timer.nsecsElapsed()) / 1e6);
        cpu.push_back(cpuMs() - cpuStart);
    }
    return {median(wall), median(cpu)};
}

void TStepTiming::report(const char *step, const TStepTiming &timing)
{
    std::printf("%-44s wall %8.2f ms   cpu %8.2f ms\n", step, timing.wall, timing.cpu);
}
