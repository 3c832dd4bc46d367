#pragma once

#include <functional>

// Runs `work(begin, end)` over [0, count) split into at most `threads` contiguous parts (the
// caller's thread takes one of them) and returns when all are done. Each part must write only
// its own range, so the result never depends on how the range was split. threads <= 0 means
// one per core; no part is smaller than `grain` items, so small jobs stay on one thread.
void ParallelRange(int count, int threads, const std::function<void(int begin, int end)>& work,
                   int grain = 64);

// Runs work(i) for every i below `count` on up to `threads` threads (<= 0: one per core), each
// thread taking the next item as it gets free, so a few large items and many small ones still
// keep every core busy. Put the large items first.
void ForEachInParallel(int count, int threads, const std::function<void(int index)>& work);

int ResolveThreadCount(int threads);
