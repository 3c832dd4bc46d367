#include "app/canvas/CustomImageView.h"

#include "app/canvas/CanvasTool.h"
#include "app/canvas/Checkerboard.h"
#include "app/canvas/IconImageDropTarget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr int kMargin = 12;
constexpr std::array kZoomSteps{0.25, 0.33, 0.5, 0.67, 0.75, 1.0, 1.5, 2.0, 3.0, 4.0, 6.0, 8.0};

// Smooth scaling of a very large picture is slow, so one cheap sampling step first brings it
// down to twice the shown size; the smooth step then averages what is left.
QImage ScaledForDisplay(const QImage& image, const QSize& size) {
    QImage source = image;
    if (source.width() > 4 * size.width() || source.height() > 4 * size.height())
        source = source.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

CustomImageView::CustomImageView(Prompter& prompter, QWidget* parent)
    : QWidget(parent), m_horizontalBar(new QScrollBar(Qt::Horizontal, this)),
      m_verticalBar(new QScrollBar(Qt::Vertical, this)) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMouseTracking(true);
    new IconImageDropTarget(this, prompter, [this](const QString& path) {
        emit ImageViewDragPerformed({{QStringLiteral("path"), path}});
    });
    for (QScrollBar* bar : {m_horizontalBar, m_verticalBar}) {
        bar->hide();
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            PanTo({double(m_horizontalBar->value()), double(m_verticalBar->value())});
        });
    }
}

void CustomImageView::setTool(CanvasTool* tool) {
    m_tool = tool;
    // Clicked or tabbed into, the view takes the keys that select and nudge layers.
    setFocusPolicy(tool ? Qt::StrongFocus : Qt::NoFocus);
    update();
}

void CustomImageView::setImage(const QImage& image, const QSize& canvasSize) {
    m_image = image;
    m_shown = QImage();
    const QSize canvas = canvasSize.isEmpty() ? image.size() : canvasSize;
    if (canvas != m_canvasSize) {
        m_canvasSize = canvas;
        PanTo(m_pan);
        emit zoomChanged(); // a fitted zoom changes with the canvas
    }
    update();
}

QSize CustomImageView::ViewArea() const {
    return size().shrunkBy({0, 0, m_verticalBar->isVisible() ? m_verticalBar->width() : 0,
                            m_horizontalBar->isVisible() ? m_horizontalBar->height() : 0});
}

QSize CustomImageView::FittedSize(const QSize& picture) const {
    // The largest centred square, and in it the picture with its own aspect ratio.
    const int side = std::min(width(), height()) - 2 * kMargin;
    if (side <= 0 || picture.isEmpty())
        return {};
    const QSize fitted = picture.scaled(side, side, Qt::KeepAspectRatio);
    return {std::max(1, fitted.width()), std::max(1, fitted.height())};
}

QSize CustomImageView::PicturePixels(const QSize& picture) const {
    return FittedSize(picture) * devicePixelRatioF();
}

double CustomImageView::zoom() const {
    if (!fitting() || m_canvasSize.isEmpty())
        return m_zoom == 0 ? 1.0 : m_zoom;
    return FittedSize(m_canvasSize).width() * devicePixelRatioF() / m_canvasSize.width();
}

QSizeF CustomImageView::ShownSize() const {
    if (fitting())
        return FittedSize(m_canvasSize);
    return QSizeF(m_canvasSize) * m_zoom / devicePixelRatioF();
}

QRectF CustomImageView::PictureRect() const {
    const QSizeF shown = ShownSize();
    if (shown.isEmpty())
        return {};
    const QSize area = ViewArea();
    // Centred where it fits, else placed by the pan.
    const double x =
        shown.width() <= area.width() ? (area.width() - shown.width()) / 2 : -m_pan.x();
    const double y =
        shown.height() <= area.height() ? (area.height() - shown.height()) / 2 : -m_pan.y();
    return {QPointF(std::round(x), std::round(y)), shown};
}

QPoint CustomImageView::PixelAt(const QPoint& point) const {
    const QRectF picture = PictureRect();
    if (picture.isEmpty() || !picture.contains(point))
        return {-1, -1};
    const QPointF inside = QPointF(point) - picture.topLeft();
    return {std::min(m_canvasSize.width() - 1,
                     int(inside.x() * m_canvasSize.width() / picture.width())),
            std::min(m_canvasSize.height() - 1,
                     int(inside.y() * m_canvasSize.height() / picture.height()))};
}

void CustomImageView::setZoom(double zoom) {
    ZoomAbout(zoom, QRectF(QPointF(), ViewArea()).center());
}

void CustomImageView::ZoomAbout(double zoom, const QPointF& anchor) {
    zoom = std::clamp(zoom, kMinimumZoom, kMaximumZoom);
    const QRectF before = PictureRect();
    // The picture's point under the anchor stays under it.
    const QPointF fraction = before.isEmpty()
                                 ? QPointF(0.5, 0.5)
                                 : QPointF((anchor.x() - before.x()) / before.width(),
                                           (anchor.y() - before.y()) / before.height());
    m_zoom = zoom;
    const QSizeF shown = ShownSize();
    UpdateScrollBars();
    PanTo({fraction.x() * shown.width() - anchor.x(), fraction.y() * shown.height() - anchor.y()});
    emit zoomChanged();
    update();
}

void CustomImageView::ZoomToFit() {
    m_zoom = 0;
    m_pan = {};
    UpdateScrollBars();
    emit zoomChanged();
    update();
}

void CustomImageView::ZoomIn() {
    const double current = zoom();
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), current + 1e-6);
    setZoom(next == kZoomSteps.end() ? kMaximumZoom : *next);
}

void CustomImageView::ZoomOut() {
    const double current = zoom();
    const auto next = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), current - 1e-6);
    setZoom(next == kZoomSteps.begin() ? kMinimumZoom : *std::prev(next));
}

void CustomImageView::PanTo(QPointF pan) {
    const QSizeF shown = ShownSize();
    const QSize area = ViewArea();
    pan.setX(std::clamp(pan.x(), 0.0, std::max(0.0, shown.width() - area.width())));
    pan.setY(std::clamp(pan.y(), 0.0, std::max(0.0, shown.height() - area.height())));
    if (pan == m_pan)
        return;
    m_pan = pan;
    const QSignalBlocker horizontal(m_horizontalBar);
    const QSignalBlocker vertical(m_verticalBar);
    m_horizontalBar->setValue(int(pan.x()));
    m_verticalBar->setValue(int(pan.y()));
    update();
}

void CustomImageView::UpdateScrollBars() {
    const QSizeF shown = fitting() ? QSizeF() : ShownSize();
    const int thickness = m_verticalBar->sizeHint().width();
    // A bar takes room from the other direction, so each is decided with the other in view.
    bool horizontal = shown.width() > width();
    bool vertical = shown.height() > height();
    horizontal = horizontal || (vertical && shown.width() > width() - thickness);
    vertical = vertical || (horizontal && shown.height() > height() - thickness);
    m_horizontalBar->setVisible(horizontal);
    m_verticalBar->setVisible(vertical);
    m_horizontalBar->setGeometry(0, height() - thickness, width() - (vertical ? thickness : 0),
                                 thickness);
    m_verticalBar->setGeometry(width() - thickness, 0, thickness,
                               height() - (horizontal ? thickness : 0));
    const QSize area = ViewArea();
    const QSignalBlocker blockHorizontal(m_horizontalBar);
    const QSignalBlocker blockVertical(m_verticalBar);
    m_horizontalBar->setRange(0, std::max(0, int(std::ceil(shown.width())) - area.width()));
    m_horizontalBar->setPageStep(area.width());
    m_verticalBar->setRange(0, std::max(0, int(std::ceil(shown.height())) - area.height()));
    m_verticalBar->setPageStep(area.height());
}

void CustomImageView::resizeEvent(QResizeEvent*) {
    UpdateScrollBars();
    PanTo(m_pan);
    if (fitting())
        emit zoomChanged();
}

void CustomImageView::wheelEvent(QWheelEvent* event) {
    const int notches = event->angleDelta().y() / 120;
    if (event->modifiers() & Qt::ControlModifier) {
        if (notches != 0)
            ZoomAbout(zoom() * std::pow(1.25, notches), event->position());
        event->accept();
        return;
    }
    if (!m_horizontalBar->isVisible() && !m_verticalBar->isVisible())
        return event->ignore();
    const bool sideways = event->modifiers() & Qt::ShiftModifier;
    const QPoint delta =
        event->pixelDelta().isNull() ? event->angleDelta() / 3 : event->pixelDelta();
    PanTo(m_pan - (sideways ? QPointF(delta.y(), 0) : QPointF(delta.x(), delta.y())));
    event->accept();
}

void CustomImageView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_tool && !m_panning) {
        setFocus(Qt::MouseFocusReason);
        m_toolDragging = true;
        m_tool->Press(event->position(), PictureRect(), event->modifiers());
        update();
        return;
    }
    if (event->button() != Qt::MiddleButton)
        return QWidget::mousePressEvent(event);
    m_panning = true;
    m_panFrom = event->position().toPoint();
    m_panStart = m_pan;
    setCursor(Qt::ClosedHandCursor);
}

void CustomImageView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_panning)
        PanTo(m_panStart - QPointF(at - m_panFrom));
    if (m_toolDragging) {
        m_tool->Drag(event->position(), event->modifiers());
        update();
        return; // the readout shows the drag instead of the pixel
    }
    emit pointerPixelChanged(PixelAt(at));
}

void CustomImageView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && m_toolDragging) {
        m_toolDragging = false;
        m_tool->Release();
        update();
        return;
    }
    if (event->button() != Qt::MiddleButton || !m_panning)
        return QWidget::mouseReleaseEvent(event);
    m_panning = false;
    unsetCursor();
}

void CustomImageView::leaveEvent(QEvent*) {
    emit pointerPixelChanged({-1, -1});
}

bool CustomImageView::event(QEvent* event) {
    // Tab and Shift+Tab go to the tool before they move the focus on.
    if (event->type() == QEvent::KeyPress && m_tool) {
        if (m_tool->Key(*static_cast<QKeyEvent*>(event), PictureRect())) {
            update();
            return true;
        }
    }
    return QWidget::event(event);
}

void CustomImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Window).darker(104));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QRectF target = PictureRect();
    if (target.isEmpty() || m_image.isNull())
        return;
    painter.setClipRect(QRect(QPoint(), ViewArea()));
    const QRect visible = target.toAlignedRect().intersected(QRect(QPoint(), ViewArea()));
    Checkerboard::Fill(painter, visible, 8);
    if (fitting()) {
        const QSize pixels = target.size().toSize() * devicePixelRatioF();
        if (m_shown.size() != pixels) {
            m_shown = ScaledForDisplay(m_image, pixels);
            m_shown.setDevicePixelRatio(devicePixelRatioF());
        }
        painter.drawImage(target.topLeft(), m_shown);
    } else {
        // Only the part in view is scaled; enlarged pixels stay sharp so they can be inspected.
        painter.setRenderHint(QPainter::SmoothPixmapTransform, zoom() < 1.0);
        painter.drawImage(target, m_image);
    }
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(target.adjusted(-0.5, -0.5, 0.5, 0.5));
    if (m_tool)
        m_tool->Paint(painter, target);
}
