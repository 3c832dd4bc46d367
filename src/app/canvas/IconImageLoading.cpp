#include "app/canvas/IconImageLoading.h"

#include "app/base/BackgroundTask.h"
#include "symbols/IconSource.h"

IconImageLoading::IconImageLoading(QObject* parent) : QObject(parent) {}

void IconImageLoading::Start(const QString& source, Loaded loaded) {
    const quint64 load = ++m_started;
    ++m_running;
    BackgroundTask::Run<Result>(
        [source] {
            Result result;
            result.source = source;
            result.image = IconSource::Load(source, &result.vector, &result.problem);
            return result;
        },
        this,
        [this, load, loaded = std::move(loaded)](const Result& result) {
            --m_running;
            if (load == m_started)
                loaded(result);
        });
}
