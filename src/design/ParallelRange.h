#pragma once

#include <functional>

// Runs `work(begin, end)` over [0, count) split into at most `threads` contiguous parts (the
// caller's thread takes one of them) and returns when all are done. Each part must write only
// its own range, so the result never depends on how the range was split. threads <= 0 means
// one per core; no part is smaller than `grain` items, so small jobs stay on one thread.
void ParallelRange(int count, int threads, const std::function<void(int begin, int end)>& work,
                   int grain = 64);

int ResolveThreadCount(int threads);
