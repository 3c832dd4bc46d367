#pragma once

#include <QImage>
#include <QString>

// Times the export from one 1024 x 1024 rendering: the macOS set in each of the ten formats,
// the iOS set in PNG, and a whole `sigilon export` process of the default design. Prints one
// line per measurement, e.g. "export macos png median_ms=24.0".
void RunExportBenchmarks(const QImage& rendering1024, const QString& sigilonExecutable);
