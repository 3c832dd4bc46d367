#pragma once

// Times what the editor draws besides the full-size rendering, from a design with an icon and
// text: the interim preview of a 10000 canvas in a 512 view ("preview 10000 median_ms=..."),
// and the preview wall's tiles on one thread at canvas sizes 1024 and 10000
// ("wall tiles 1024 median_ms=...").
void RunPreviewBenchmarks();
