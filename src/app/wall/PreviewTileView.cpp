#include "app/wall/PreviewTileView.h"

#include "app/canvas/Checkerboard.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

// The picture part of a tile, sized to the picture's extent in device-independent pixels.
class PreviewTileView::Picture : public QWidget {
public:
    explicit Picture(const PreviewTileView& owner) : m_owner(owner) {
        // Never squeezed: a smaller picture would no longer be one pixel per device pixel.
        setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    }

    bool outlineSafeZone = false;

    QSize sizeHint() const override {
        const QSizeF size = QSizeF(m_owner.tile().image.size()) / devicePixelRatioF();
        return {int(std::ceil(size.width())), int(std::ceil(size.height()))};
    }

protected:
    void paintEvent(QPaintEvent*) override {
        const PreviewTile& tile = m_owner.tile();
        if (tile.image.isNull())
            return;
        const double ratio = devicePixelRatioF();
        QImage image = tile.image;
        image.setDevicePixelRatio(ratio);
        // Centred, and on a whole device pixel so that no pixel is split between two.
        const QSizeF size = QSizeF(image.size()) / ratio;
        const QPointF origin(std::round((width() - size.width()) / 2.0 * ratio) / ratio,
                             std::round((height() - size.height()) / 2.0 * ratio) / ratio);
        QPainter painter(this);
        const QRectF iconArea(tile.iconArea);
        Checkerboard::Fill(
            painter,
            QRectF(origin + iconArea.topLeft() / ratio, iconArea.size() / ratio).toAlignedRect(),
            4);
        painter.drawImage(origin, image);
        if (outlineSafeZone && !tile.safeZone.isEmpty()) {
            const QRectF zone(origin + tile.safeZone.topLeft() / ratio,
                              tile.safeZone.size() / ratio);
            painter.setRenderHint(QPainter::Antialiasing);
            // Light over dark so the outline shows on any icon.
            painter.setPen(QPen(QColor(0, 0, 0, 160), 3.0));
            painter.drawEllipse(zone);
            painter.setPen(QPen(Qt::white, 1.0, Qt::DashLine));
            painter.drawEllipse(zone);
        }
    }

private:
    const PreviewTileView& m_owner;
};

PreviewTileView::PreviewTileView(QWidget* parent)
    : QWidget(parent), m_picture(new Picture(*this)), m_caption(new QLabel(this)) {
    setAttribute(Qt::WA_Hover);
    m_caption->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter | Qt::AlignBottom);
    layout->addWidget(m_caption);
}

void PreviewTileView::setTile(const PreviewTile& tile) {
    const bool resized = tile.image.size() != m_tile.image.size();
    m_tile = tile;
    m_caption->setText(tile.caption);
    if (resized)
        m_picture->updateGeometry();
    m_picture->update();
}

bool PreviewTileView::event(QEvent* event) {
    if (event->type() == QEvent::HoverEnter || event->type() == QEvent::HoverLeave) {
        m_picture->outlineSafeZone = event->type() == QEvent::HoverEnter;
        m_picture->update();
    }
    return QWidget::event(event);
}
