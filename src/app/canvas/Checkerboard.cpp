#include "app/canvas/Checkerboard.h"

#include <QPainter>
#include <QPixmap>

namespace Checkerboard {

void Fill(QPainter& painter, const QRect& area, int squareSize) {
    QPixmap tile(2 * squareSize, 2 * squareSize);
    tile.fill(QColor(255, 255, 255));
    {
        QPainter tilePainter(&tile);
        const QColor dark(204, 204, 204);
        tilePainter.fillRect(0, 0, squareSize, squareSize, dark);
        tilePainter.fillRect(squareSize, squareSize, squareSize, squareSize, dark);
    }
    painter.save();
    painter.setBrushOrigin(area.topLeft());
    painter.fillRect(area, QBrush(tile));
    painter.restore();
}

} // namespace Checkerboard
