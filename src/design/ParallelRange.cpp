#include "design/ParallelRange.h"

#include <algorithm>
#include <system_error>
#include <thread>
#include <vector>

int ResolveThreadCount(int threads) {
    if (threads > 0)
        return threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelRange(int count, int threads, const std::function<void(int, int)>& work) {
    if (count <= 0)
        return;
    // Small ranges are not worth a thread start.
    const int parts = std::clamp(std::min(ResolveThreadCount(threads), count / 64), 1, count);
    if (parts == 1) {
        work(0, count);
        return;
    }
    std::vector<std::thread> helpers;
    helpers.reserve(parts - 1);
    for (int part = 0; part < parts - 1; ++part) {
        const int begin = static_cast<int>(static_cast<long long>(count) * part / parts);
        const int end = static_cast<int>(static_cast<long long>(count) * (part + 1) / parts);
        try {
            helpers.emplace_back(work, begin, end);
        } catch (const std::system_error&) {
            // No thread to be had (a process limit): this part runs here instead.
            work(begin, end);
        }
    }
    work(static_cast<int>(static_cast<long long>(count) * (parts - 1) / parts), count);
    for (std::thread& helper : helpers)
        helper.join();
}
