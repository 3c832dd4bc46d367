#include "support/AllocatorTuning.h"

#include <malloc.h>

namespace {

// Blocks up to this size come from the heap: every picture of an icon set, its encoder
// buffers and the renderer's masks up to 2048 pixels a side. Larger ones have their own pool
// (LargeBuffer) or are rare enough to map afresh.
constexpr int HeapBlockLimit = 32 << 20;
// Free memory the heap may keep at its end before it gives it back to the system: a few such
// blocks, so the next export reuses them.
constexpr int KeptFreeMemory = 64 << 20;

} // namespace

void KeepImageMemoryMapped() {
    // By default each freed block of more than a few hundred kilobytes goes back to the
    // system, and the next one of that size is faulted in and zeroed page by page. On a
    // virtual machine that costs more than the encoding of a 1024-pixel PNG itself; an icon
    // set allocates the same sizes again for every file.
    mallopt(M_MMAP_THRESHOLD, HeapBlockLimit);
    mallopt(M_TRIM_THRESHOLD, KeptFreeMemory);
}
