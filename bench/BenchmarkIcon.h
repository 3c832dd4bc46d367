#pragma once

#include <QImage>

// A 512 x 512 icon with colour, transparency and diagonal edges, like a real one.
QImage BenchmarkIcon();
