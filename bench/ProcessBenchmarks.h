#pragma once

#include <QString>

// Times whole `sigilon` processes as a user runs them, start-up included: `render` at 1024,
// 4096 and 10000 pixels and `export` of the macOS PNG set at 1024 and 10000, each with the
// benchmark icon and the text "Ab", plus `export` of the default design. Prints lines such as
// "process render 1024 median_ms=120.0 peak_mb=60" (peak: the largest resident size of a run,
// median over the runs) and "process export 1024 median_ms=150.0".
void RunProcessBenchmarks(const QString& sigilonExecutable);
