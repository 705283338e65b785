#include "StepTiming.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

double TStepTiming::cpuMs()
{
    return 1e3 * double(std::clock()) / CLOCKS_PER_SEC;
}

double TStepTiming::median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
