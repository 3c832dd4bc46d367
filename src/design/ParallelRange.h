#pragma once

#include <functional>

// Runs `work(begin, end)` over [0, count) split into at most `threads` contiguous parts, one
// per thread (the caller's thread takes the last part). Each part must write only its own
// range, so the result never depends on how the range was split. threads <= 0 means one
// per core.
void ParallelRange(int count, int threads, const std::function<void(int begin, int end)>& work);

int ResolveThreadCount(int threads);
