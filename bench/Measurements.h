#pragma once

#include <QString>
#include <vector>

// The median of the timings of one measurement (the benchmark reports medians, not best runs).
double Median(std::vector<double> values);

// Prints "<name> median_ms=<median>" and flushes, so a long run shows its progress.
void PrintMedian(const QString& name, const std::vector<double>& times);
