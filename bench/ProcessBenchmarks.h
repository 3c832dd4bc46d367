#pragma once

#include <QString>
#include <QStringList>

// Times whole `sigilon` processes as a user runs them, start-up included: `render` at 1024,
// 4096 and 10000 pixels and `export` of the macOS PNG set at 1024 and 10000, each with the
// benchmark icon and the text "Ab", plus `export` of the default design. Prints lines such as
// "process render 1024 median_ms=120.0 peak_mb=60" (peak: the largest resident size of a run,
// median over the runs) and "process export 1024 median_ms=150.0". The kernel reports a child's
// peak as at least the peak of this process when the child started: run these first.
void RunProcessBenchmarks(const QString& sigilonExecutable);

// Times `repetitions` runs of `executable`, each with a fresh output folder (`{out}` in the
// arguments), and prints "<name> median_ms=..", with " peak_mb=.." when `withPeak`.
void TimeProcessRuns(const QString& name, const QString& executable, const QStringList& arguments,
                     int repetitions, bool withPeak);
