#include "app/canvas/CanvasViewWiring.h"

#include "app/canvas/CustomImageView.h"

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QStatusBar>

namespace {

QLabel* StatusField(QMainWindow& window, const QString& name) {
    auto* label = new QLabel(&window);
    label->setObjectName(name);
    window.statusBar()->addPermanentWidget(label);
    return label;
}

} // namespace

void InstallCanvasView(QMainWindow& window, QMenu& view, CustomImageView& canvas) {
    const auto add = [&](const QString& name, const QString& text, const QKeySequence& keys,
                         void (CustomImageView::*slot)()) {
        auto* action = view.addAction(text);
        action->setObjectName(name);
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, &canvas, slot);
        return action;
    };
    view.addSeparator();
    add(QStringLiteral("actionZoomIn"), QObject::tr("Zoom &In"),
        QKeySequence(Qt::CTRL | Qt::Key_Plus), &CustomImageView::ZoomIn);
    add(QStringLiteral("actionZoomOut"), QObject::tr("Zoom &Out"),
        QKeySequence(Qt::CTRL | Qt::Key_Minus), &CustomImageView::ZoomOut);
    add(QStringLiteral("actionZoomToFit"), QObject::tr("Zoom to &Fit"),
        QKeySequence(Qt::CTRL | Qt::Key_0), &CustomImageView::ZoomToFit);
    QAction* actual = view.addAction(QObject::tr("&Actual Size"));
    actual->setObjectName(QStringLiteral("actionActualSize"));
    actual->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_1));
    QObject::connect(actual, &QAction::triggered, &canvas, [&canvas] { canvas.setZoom(1.0); });

    QLabel* size = StatusField(window, QStringLiteral("statusCanvasSize"));
    QLabel* zoom = StatusField(window, QStringLiteral("statusZoom"));
    QLabel* pixel = StatusField(window, QStringLiteral("statusPixel"));
    const auto showZoom = [&canvas, size, zoom] {
        const QSize canvasSize = canvas.canvasSize();
        size->setText(QObject::tr("%1 × %2 px").arg(canvasSize.width()).arg(canvasSize.height()));
        const QString percent = QString::number(qRound(canvas.zoom() * 100));
        zoom->setText(canvas.fitting() ? QObject::tr("Fit (%1 %)").arg(percent)
                                       : QObject::tr("%1 %").arg(percent));
    };
    QObject::connect(&canvas, &CustomImageView::zoomChanged, zoom, showZoom);
    QObject::connect(
        &canvas, &CustomImageView::pointerPixelChanged, pixel, [pixel](const QPoint& at) {
            pixel->setText(at.x() < 0 ? QString()
                                      : QStringLiteral("%1, %2").arg(at.x()).arg(at.y()));
        });
    // While a layer is dragged the read-out tells its offset, size and angle instead.
    QObject::connect(&canvas, &CustomImageView::readoutChanged, pixel, &QLabel::setText);
    showZoom();
}
