#pragma once

#include <QByteArray>
#include <QString>

// A logo-like SVG document: a dozen shapes, each filled with its own linear or radial gradient.
QByteArray MultiGradientSvg();

// Prints "render 1024 svg median_ms=..": the default design at 1024 with that document as its
// icon image, drawn afresh each time (every run reads its own copy, so nothing kept is reused);
// "process render svg" and "process export all svg": whole `sigilon render` and `export
// --target all` processes with that document as their icon; and "first look png" and "first
// look png cold": reading the benchmark icon's PNG file as the editor (an image helper process
// ready) and --icon (one started for it) do.
void RunSvgBenchmark(const QString& sigilonExecutable);
