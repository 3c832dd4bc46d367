#pragma once

#include <QImage>
#include <QString>

// Times every platform set (`--target all`) from one 1024 x 1024 design with `icon` and the
// text "Ab": in process, and as a whole `sigilon export` process, each without and with the
// badge "BETA". Prints "export platforms all median_ms=...", "export platforms all badge=BETA
// median_ms=..." and the same after "process ".
void RunPlatformBenchmarks(const QImage& icon, const QString& sigilonExecutable);
