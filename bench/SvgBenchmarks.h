#pragma once

#include <QByteArray>

// A logo-like SVG document: a dozen shapes, each filled with its own linear or radial gradient.
QByteArray MultiGradientSvg();

// Prints "render 1024 svg median_ms=..": the default design at 1024 with that document as its
// icon image, drawn afresh each time (every run reads its own copy, so nothing kept is reused).
void RunSvgBenchmark();
