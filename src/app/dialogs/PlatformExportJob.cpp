#include "app/dialogs/PlatformExportJob.h"

#include <QPromise>
#include <QThreadPool>

PlatformExportJob::PlatformExportJob(QObject* parent) : QObject(parent) {
    connect(&m_watcher, &QFutureWatcherBase::progressValueChanged, this,
            [this](int done) { emit progressed(done, m_watcher.progressMaximum()); });
    connect(&m_watcher, &QFutureWatcherBase::finished, this, [this] {
        m_running = false;
        emit finished(m_watcher.result());
    });
}

PlatformExportJob::~PlatformExportJob() {
    Stop();
}

void PlatformExportJob::Start(const IconDesign& design, const QList<PlannedFile>& plan,
                              const QString& folder, bool overwrite, const Badge& badge) {
    Q_ASSERT(!m_running);
    m_running = true;
    m_stop = std::make_shared<std::atomic<bool>>(false);
    auto promise = std::make_shared<QPromise<PlatformExport::Result>>();
    m_watcher.setFuture(promise->future());
    QThreadPool::globalInstance()->start([=, stop = m_stop] {
        promise->start();
        const auto report = [&](int done, int total) {
            if (promise->future().progressMaximum() != total)
                promise->setProgressRange(0, total);
            promise->setProgressValue(done);
            return !*stop;
        };
        promise->addResult(PlatformExport::Run(design, plan, folder, overwrite, 0, report, badge));
        promise->finish();
    });
}

void PlatformExportJob::Stop() {
    if (m_stop)
        *m_stop = true;
}
