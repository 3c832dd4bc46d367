#pragma once

#include <QImage>
#include <QString>

// Times every platform set (`--target all`) from one 1024 x 1024 design with `icon` and the
// text "Ab": in process, and as a whole `sigilon export` process. Prints
// "export platforms all median_ms=..." and "process export platforms all median_ms=...".
void RunPlatformBenchmarks(const QImage& icon, const QString& sigilonExecutable);
