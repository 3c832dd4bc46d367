#include "app/canvas/CustomImageView.h"

#include "app/canvas/Checkerboard.h"
#include "app/canvas/IconImageDropTarget.h"

#include <QPainter>

namespace {

// Smooth scaling of a very large picture is slow, so one cheap sampling step first brings it
// down to twice the shown size; the smooth step then averages what is left.
QImage ScaledForDisplay(const QImage& image, const QSize& size) {
    QImage source = image;
    if (source.width() > 4 * size.width() || source.height() > 4 * size.height())
        source = source.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

} // namespace

CustomImageView::CustomImageView(Prompter& prompter, QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    new IconImageDropTarget(this, prompter, [this](const QString& path) {
        emit ImageViewDragPerformed({{QStringLiteral("path"), path}});
    });
}

void CustomImageView::setImage(const QImage& image) {
    m_image = image;
    m_shown = QImage();
    update();
}

QSize CustomImageView::FittedSize(const QSize& picture) const {
    // The largest centred square, and in it the picture with its own aspect ratio.
    const int side = std::min(width(), height()) - 24;
    if (side <= 0 || picture.isEmpty())
        return {};
    const QSize fitted = picture.scaled(side, side, Qt::KeepAspectRatio);
    return {std::max(1, fitted.width()), std::max(1, fitted.height())};
}

QSize CustomImageView::PicturePixels(const QSize& picture) const {
    return FittedSize(picture) * devicePixelRatioF();
}

QRect CustomImageView::PictureRect() const {
    const QSize size = FittedSize(m_image.size());
    if (size.isEmpty())
        return {};
    return QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size);
}

void CustomImageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(palette().color(QPalette::Window).darker(104));
    painter.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 6, 6);
    painter.setRenderHint(QPainter::Antialiasing, false);

    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    const QSize pixels = target.size() * devicePixelRatioF();
    if (m_shown.size() != pixels) {
        m_shown = ScaledForDisplay(m_image, pixels);
        m_shown.setDevicePixelRatio(devicePixelRatioF());
    }
    Checkerboard::Fill(painter, target, 8);
    painter.drawImage(target.topLeft(), m_shown);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(target).adjusted(-0.5, -0.5, 0.5, 0.5));
}
