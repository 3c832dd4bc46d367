#pragma once

#include <QImage>

// Times the export in this process: from a 1024 x 1024 rendering the macOS set in each of the
// ten formats and the iOS set in PNG, and the macOS set in PNG from a 10000 x 10000 one.
// Prints one line per measurement, e.g. "export macos png median_ms=24.0".
void RunExportBenchmarks(const QImage& rendering1024, const QImage& rendering10000);
