#include "recovery/RecoveryWriter.h"

#include "recovery/RecoveryStore.h"

RecoveryWriter::RecoveryWriter(RecoveryStore& store)
    : m_store(store), m_thread([this] { Work(); }) {}

RecoveryWriter::~RecoveryWriter() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_asked.notify_one();
    m_thread.join();
}

void RecoveryWriter::Write(RecoveryRecord record) {
    Ask({std::move(record)});
}

void RecoveryWriter::Remove() {
    Ask({std::nullopt});
}

void RecoveryWriter::Ask(Job job) {
    {
        const std::lock_guard lock(m_mutex);
        m_waiting = std::move(job);
    }
    m_asked.notify_one();
}

void RecoveryWriter::Finish() {
    std::unique_lock lock(m_mutex);
    m_ended.wait(lock, [this] { return !m_waiting && !m_running; });
}

void RecoveryWriter::Work() {
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_asked.wait(lock, [this] { return m_waiting || m_ending; });
        if (!m_waiting)
            return;
        const Job job = std::move(*m_waiting);
        m_waiting.reset();
        m_running = true;
        lock.unlock();
        if (job.record) {
            const WriteResult result = m_store.Write(*job.record);
            emit written(result);
        } else
            m_store.RemoveOwn();
        lock.lock();
        m_running = false;
        m_ended.notify_all();
    }
}
