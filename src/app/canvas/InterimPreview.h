#pragma once

#include "design/IconDesign.h"
#include "render/RenderOptions.h"

#include <QImage>
#include <QObject>
#include <functional>
#include <optional>

class CustomImageView;

// A quick picture of the latest design while its full-size rendering is pending or running:
// the design drawn at the preview's own pixel size, so the preview follows every change even
// when a full-size rendering takes seconds. It is for the eye only; the full-size rendering
// stays the picture that is exported and recorded. One interim rendering runs at a time;
// requests meanwhile keep only the latest design.
class InterimPreview : public QObject {
    Q_OBJECT

public:
    using Renderer = std::function<QImage(const IconDesign&, const RenderOptions&)>;

    // The view tells the pixel size to draw at; it must outlive this object.
    InterimPreview(Renderer renderer, const CustomImageView& view, QObject* parent);

    // Draws the design unless the view shows it at its full size anyway, where an interim
    // picture would cost as much as the full-size one; true when it draws it.
    bool Request(const IconDesign& design);

    // The full-size picture of the latest design is shown: interim pictures requested so far
    // would only put an older look back.
    void Supersede();

signals:
    // `scale` is the picture's pixels per design unit.
    void ready(const QImage& picture, double scale);

private:
    struct Job {
        IconDesign design;
        RenderOptions options;
        double scale;
        quint64 number;
    };

    void Start(Job job);

    Renderer m_renderer;
    const CustomImageView& m_view;
    std::optional<Job> m_pending;
    bool m_running = false;
    quint64 m_requested = 0;  // the number of the latest request
    quint64 m_superseded = 0; // requests up to this number are not shown
};
