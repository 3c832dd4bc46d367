#include "app/window/KeylinePictures.h"

#include <QPainter>

namespace {

const QColor kKeyline(0, 200, 255, 230);
const QColor kShade(0, 0, 0, 110);

QImage Transparent(const QRect& visible, qreal pixelRatio) {
    QImage image((QSizeF(visible.size()) * pixelRatio).toSize(),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(pixelRatio);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

void KeylinePictures::Prepare(const KeylineOverlay& overlay, const QTransform& toScreen,
                              const QRect& visible, qreal pixelRatio) {
    if (!m_shade.isNull() && toScreen == m_toScreen && visible == m_visible &&
        pixelRatio == m_pixelRatio)
        return;
    m_toScreen = toScreen;
    m_visible = visible;
    m_pixelRatio = pixelRatio;
    const QTransform toImage =
        toScreen * QTransform::fromTranslate(-visible.left(), -visible.top());
    m_shade = Transparent(visible, pixelRatio);
    {
        QPainter painter(&m_shade);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(toImage.map(overlay.shaded), kShade);
    }
    m_lines = Transparent(visible, pixelRatio);
    QPainter painter(&m_lines);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(kKeyline, 1.0);
    pen.setCosmetic(true);
    painter.strokePath(toImage.map(overlay.lines), pen);
}
