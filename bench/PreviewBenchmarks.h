#pragma once

// Times what the editor draws besides the full-size rendering, from a design with an icon and
// text, on canvases of 1024, 4096 and 10000 in a 512 view: the interim preview a slider's drag
// shows, a value changing at every step ("preview 10000 median_ms=..."), and the text dragged
// on the canvas, from the pointer's movement to the picture ("drag 10000 median_ms=...");
// then the preview wall's tiles on one thread at canvas sizes 1024 and 10000
// ("wall tiles 1024 median_ms=...").
void RunPreviewBenchmarks();
