#pragma once

#include "export/AtomicFileWrite.h"
#include "recovery/RecoveryRecord.h"

#include <QObject>

#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

class RecoveryStore;

// Writes an editor's recovery record on a thread of its own, so the window never waits for the
// disk. One job runs at a time, in the order asked: a newer record is never overtaken by an
// older one, and a removal asked for while a write runs follows it, so the record cannot come
// back. Of the jobs waiting, only the last one asked for is kept: each replaces the whole
// record, and a removal ends whatever was asked before it.
class RecoveryWriter : public QObject {
    Q_OBJECT

public:
    explicit RecoveryWriter(RecoveryStore& store);
    // Finishes every job asked for, then ends the thread.
    ~RecoveryWriter() override;
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    void Write(RecoveryRecord record);
    void Remove();
    // Returns once every job asked for has ended.
    void Finish();

signals:
    // Once for each write done, in their order; emitted on the writer's thread, so a receiver
    // in another thread hears of it through its event loop.
    void written(const WriteResult& result);

private:
    struct Job {
        std::optional<RecoveryRecord> record; // nullopt: remove it
    };

    void Ask(Job job);
    void Work();

    RecoveryStore& m_store;
    std::mutex m_mutex;
    std::condition_variable m_asked; // a job is waiting, or the writer ends
    std::condition_variable m_ended; // a job ended
    std::optional<Job> m_waiting;
    bool m_running = false;
    bool m_ending = false;
    std::thread m_thread; // last: it starts once everything it uses is there
};
