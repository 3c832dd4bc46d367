#include "app/canvas/IconImageLoading.h"

#include "app/base/BackgroundTask.h"
#include "imageio/IconImageFile.h"

namespace {

struct LoadedImage {
    QImage image;
    std::shared_ptr<const SvgImage> vector;
};

} // namespace

IconImageLoading::IconImageLoading(Loaded loaded, QObject* parent)
    : QObject(parent), m_loaded(std::move(loaded)) {}

void IconImageLoading::Start(const QString& path) {
    const quint64 load = ++m_started;
    ++m_running;
    BackgroundTask::Run<LoadedImage>(
        [path] {
            LoadedImage loaded;
            loaded.image = LoadIconImage(path, &loaded.vector);
            return loaded;
        },
        this,
        [this, path, load](const LoadedImage& loaded) {
            --m_running;
            if (load == m_started)
                m_loaded(path, loaded.image, loaded.vector);
        });
}
