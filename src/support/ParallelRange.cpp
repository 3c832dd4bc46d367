#include "support/ParallelRange.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {

// Threads that stay for the life of the process: a rendering splits its work a dozen times,
// and starting threads for each split would cost more than some of the splits themselves.
class WorkerPool {
public:
    static WorkerPool& Instance() {
        static WorkerPool* pool = new WorkerPool; // never destroyed: workers may still wait
        return *pool;
    }

    // Runs parts 0 .. parts-2 on the pool and the last on the caller. False, with nothing
    // run, when another caller is using the pool or no worker could be started.
    bool TryRun(int parts, const std::function<void(int part)>& job) {
        std::unique_lock owner(m_owner, std::try_to_lock);
        if (!owner.owns_lock() || !EnsureWorkers(parts - 1))
            return false;
        {
            std::lock_guard lock(m_mutex);
            m_job = &job;
            m_nextPart = 0;
            m_pooledParts = parts - 1;
            m_pending = parts - 1;
            ++m_generation;
        }
        m_wake.notify_all();
        job(parts - 1);
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_pending == 0; });
        m_job = nullptr;
        return true;
    }

private:
    bool EnsureWorkers(int count) {
        try {
            for (; m_workerCount < count; ++m_workerCount)
                std::thread([this] { Serve(); }).detach();
        } catch (const std::system_error&) {
            return false;
        }
        return true;
    }

    void Serve() {
        unsigned seen = 0;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [&] { return m_generation != seen && m_nextPart < m_pooledParts; });
            seen = m_generation;
            while (m_nextPart < m_pooledParts) {
                const int part = m_nextPart++;
                const std::function<void(int)>* job = m_job;
                lock.unlock();
                (*job)(part);
                lock.lock();
                if (--m_pending == 0)
                    m_done.notify_one();
            }
        }
    }

    std::mutex m_owner; // one caller at a time
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    int m_workerCount = 0;
    const std::function<void(int)>* m_job = nullptr;
    unsigned m_generation = 0;
    int m_nextPart = 0;
    int m_pooledParts = 0;
    int m_pending = 0;
};

} // namespace

int ResolveThreadCount(int threads) {
    if (threads > 0)
        return threads;
    return std::max(1u, std::thread::hardware_concurrency());
}

void ParallelRange(int count, int threads, const std::function<void(int, int)>& work, int grain) {
    if (count <= 0)
        return;
    const int parts =
        std::clamp(std::min(ResolveThreadCount(threads), count / std::max(1, grain)), 1, count);
    auto part = [&](int index) {
        const int begin = static_cast<int>(static_cast<long long>(count) * index / parts);
        const int end = static_cast<int>(static_cast<long long>(count) * (index + 1) / parts);
        work(begin, end);
    };
    if (parts == 1) {
        work(0, count);
        return;
    }
    if (WorkerPool::Instance().TryRun(parts, part))
        return;
    // The pool is busy with another caller: threads of our own for this one.
    std::vector<std::thread> helpers;
    for (int index = 0; index < parts - 1; ++index) {
        try {
            helpers.emplace_back(part, index);
        } catch (const std::system_error&) {
            part(index); // no thread to be had (a process limit): run it here
        }
    }
    part(parts - 1);
    for (std::thread& helper : helpers)
        helper.join();
}

void ForEachInParallel(int count, int threads, const std::function<void(int)>& work) {
    if (count <= 0)
        return;
    const int workers = std::min(ResolveThreadCount(threads), count);
    std::atomic<int> next{0};
    ParallelRange(
        workers, workers,
        [&](int, int) {
            for (int i = next++; i < count; i = next++)
                work(i);
        },
        1);
}
