#pragma once

// Times the preview wall's tiles as the editor computes them, on one thread, from a design
// with an icon and text at canvas sizes 1024 and 10000. Prints one line per canvas size, e.g.
// "wall tiles 1024 median_ms=30.0".
void RunWallBenchmarks();
