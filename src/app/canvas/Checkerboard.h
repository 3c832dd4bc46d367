#pragma once

class QPainter;
class QRect;

// The grey checkerboard that shows through transparent parts of a picture or a colour.
namespace Checkerboard {

void Fill(QPainter& painter, const QRect& area, int squareSize);

} // namespace Checkerboard
