#pragma once

// Times the recovery record the editor keeps of unsaved changes, with a copy of a 64 MB icon
// image: a record written with a new image's copy ("recovery write new image 64mb"), one
// written again for the same image, the record alone ("recovery write same image 64mb"), and
// the time the window's thread takes to ask for a write that runs off it ("recovery ask write
// 64mb"). Prints one line per measurement, e.g. "recovery write same image 64mb median_ms=0.2".
void RunRecoveryBenchmarks();
