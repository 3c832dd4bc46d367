#pragma once

#include <QString>

#include <functional>
#include <vector>

// The median of the timings of one measurement (the benchmark reports medians, not best runs).
double Median(std::vector<double> values);

// Prints "<name> median_ms=<median>" and flushes, so a long run shows its progress.
void PrintMedian(const QString& name, const std::vector<double>& times);

// The milliseconds each of `repetitions` runs of `run` (given the run's number) took.
std::vector<double> TimesOf(int repetitions, const std::function<void(int run)>& run);
