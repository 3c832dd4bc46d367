#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QPromise>
#include <QThreadPool>
#include <functional>
#include <memory>

// Runs `work` on `pool` (the global thread pool unless another is given) and hands its result to
// `done` on the thread of `context`. When `context` is destroyed before the work ends, `done` is
// never called, so a late result cannot reach an object that is gone.
namespace BackgroundTask {

template <typename Result>
void Run(std::function<Result()> work, QObject* context, std::function<void(Result)> done,
         QThreadPool* pool = QThreadPool::globalInstance()) {
    auto* watcher = new QFutureWatcher<Result>(context);
    QObject::connect(watcher, &QFutureWatcherBase::finished, watcher,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(watcher->result());
                     });
    auto promise = std::make_shared<QPromise<Result>>();
    watcher->setFuture(promise->future());
    pool->start([promise, work = std::move(work)] {
        promise->start();
        promise->addResult(work());
        promise->finish();
    });
}

} // namespace BackgroundTask
