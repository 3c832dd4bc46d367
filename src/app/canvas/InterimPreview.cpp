#include "app/canvas/InterimPreview.h"

#include "app/base/BackgroundTask.h"
#include "app/canvas/CustomImageView.h"
#include "render/KeptLayer.h"

InterimPreview::InterimPreview(Renderer renderer, const CustomImageView& view, QObject* parent)
    : QObject(parent), m_renderer(std::move(renderer)), m_view(view) {}

bool InterimPreview::Request(const IconDesign& design) {
    const QSize canvas(int(design.canvasWidth), int(design.canvasHeight));
    const QSize pixels = m_view.PicturePixels(canvas);
    if (pixels.isEmpty() || pixels.width() >= canvas.width() || pixels.height() >= canvas.height())
        return false;
    RenderOptions options;
    options.outputSize = pixels;
    Job job{design, options, double(pixels.width()) / canvas.width(), ++m_requested};
    if (m_running)
        m_pending = std::move(job);
    else
        Start(std::move(job));
    return true;
}

void InterimPreview::Supersede() {
    m_superseded = m_requested;
    m_pending.reset();
}

void InterimPreview::Start(Job job) {
    m_running = true;
    const quint64 number = job.number;
    const double scale = job.scale;
    BackgroundTask::Run<QImage>(
        [renderer = m_renderer, design = std::move(job.design), options = job.options] {
            // Only looked at, and soon replaced by the full-size picture.
            const MovedLayersAllowed moved;
            return renderer(design, options);
        },
        this,
        [this, number, scale](const QImage& picture) {
            m_running = false;
            if (number > m_superseded)
                emit ready(picture, scale);
            if (m_pending) {
                Job next = std::move(*m_pending);
                m_pending.reset();
                Start(std::move(next));
            }
        });
}
