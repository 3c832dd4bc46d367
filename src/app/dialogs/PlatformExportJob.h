#pragma once

#include "design/IconDesign.h"
#include "platforms/PlannedFile.h"
#include "platforms/PlatformExport.h"

#include <QFutureWatcher>
#include <QObject>
#include <atomic>
#include <memory>

// One platform export on the thread pool, so the window stays responsive while the sets are
// drawn and written. Progress and the end are reported on the GUI thread.
class PlatformExportJob : public QObject {
    Q_OBJECT

public:
    explicit PlatformExportJob(QObject* parent = nullptr);

    // A job destroyed while it runs asks the run to stop; the file being written is completed.
    ~PlatformExportJob() override;

    // Writes `plan` under `folder` from `design`, `badge` drawn into it; one run at a time.
    void Start(const IconDesign& design, const QList<PlannedFile>& plan, const QString& folder,
               bool overwrite, const Badge& badge = {});

    // Asks the run to stop before it begins another file; `finished` still follows.
    void Stop();

    bool IsRunning() const { return m_running; }

signals:
    void progressed(int done, int total);
    void finished(const PlatformExport::Result& result);

private:
    QFutureWatcher<PlatformExport::Result> m_watcher;
    // Shared with the worker, which may outlive the job by the file it is writing.
    std::shared_ptr<std::atomic<bool>> m_stop;
    bool m_running = false;
};
