#include "BenchmarkIcon.h"

#include <QPainter>

QImage BenchmarkIcon() {
    QImage icon(512, 512, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(240, 180, 40));
    painter.setPen(QPen(QColor(120, 60, 10), 12));
    painter.drawEllipse(QRectF(40, 40, 432, 432));
    painter.setBrush(QColor(30, 160, 90, 200));
    painter.drawRect(QRectF(150, 150, 212, 212));
    return icon;
}
