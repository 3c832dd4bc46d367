#include "Measurements.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

double Median(std::vector<double> values) {
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

void PrintMedian(const QString& name, const std::vector<double>& times) {
    std::printf("%s median_ms=%.1f\n", qPrintable(name), Median(times));
    std::fflush(stdout);
}

std::vector<double> TimesOf(int repetitions, const std::function<void(int run)>& run) {
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer timer;
        timer.start();
        run(i);
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}
