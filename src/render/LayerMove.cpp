#include "render/LayerMove.h"

#include <QRect>
#include <cmath>

namespace {

// In device pixels: the layout's rounding noise between two placements of the same text, far
// below anything that shows.
constexpr double kLeeway = 1.0 / 1024;

QPointF DeviceVector(const QTransform& toDevice, const QPointF& vector) {
    return toDevice.map(vector) - toDevice.map(QPointF());
}

bool SameOnDevice(const QTransform& toDevice, const QPointF& a, const QPointF& b) {
    const QPointF difference = DeviceVector(toDevice, a - b);
    return std::abs(difference.x()) <= kLeeway && std::abs(difference.y()) <= kLeeway;
}

bool SameExceptPlace(const LayerRecipe& a, const LayerRecipe& b) {
    return a.fill == b.fill && a.outline == b.outline && a.outlineWidth == b.outlineWidth &&
           a.image == b.image && a.toDevice == b.toDevice && a.canvas == b.canvas &&
           a.sigmaX == b.sigmaX && a.sigmaY == b.sigmaY &&
           a.shadowOffset.x() == b.shadowOffset.x() && a.shadowOffset.y() == b.shadowOffset.y();
}

bool PathMoved(const QPainterPath& from, const QPainterPath& to, const QPointF& shift,
               const QTransform& toDevice) {
    if (from.elementCount() != to.elementCount() || from.fillRule() != to.fillRule())
        return false;
    for (int i = 0; i < from.elementCount(); ++i) {
        const QPainterPath::Element a = from.elementAt(i);
        const QPainterPath::Element b = to.elementAt(i);
        if (a.type != b.type || !SameOnDevice(toDevice, QPointF(b) - QPointF(a), shift))
            return false;
    }
    return true;
}

// A side on which the picture stops short of the content was cut there; moved inwards from it,
// the layer brings into reach what the picture lacks.
bool CoversMovedContent(const QRect& picture, const QRectF& content, QPoint move) {
    const bool cutLeft = picture.isEmpty() || picture.left() > content.left();
    const bool cutTop = picture.isEmpty() || picture.top() > content.top();
    const bool cutRight = picture.isEmpty() || picture.right() + 1 < content.right();
    const bool cutBottom = picture.isEmpty() || picture.bottom() + 1 < content.bottom();
    return !(cutLeft && move.x() > 0) && !(cutTop && move.y() > 0) && !(cutRight && move.x() < 0) &&
           !(cutBottom && move.y() < 0);
}

} // namespace

std::optional<LayerPicture> MovedPicture(const LayerRecipe& kept, const LayerPicture& picture,
                                         const LayerRecipe& wanted) {
    if (!SameExceptPlace(kept, wanted))
        return std::nullopt;
    const QPointF shift = wanted.contentBounds.topLeft() - kept.contentBounds.topLeft();
    if (!SameOnDevice(kept.toDevice, wanted.contentBounds.bottomRight(),
                      kept.contentBounds.bottomRight() + shift) ||
        !PathMoved(kept.path, wanted.path, shift, kept.toDevice))
        return std::nullopt;
    const QPointF pixels = DeviceVector(kept.toDevice, shift);
    const QPoint move(int(std::lround(pixels.x())), int(std::lround(pixels.y())));
    if (!CoversMovedContent(picture.bounds, kept.toDevice.mapRect(kept.contentBounds), move))
        return std::nullopt;
    LayerPicture moved = picture;
    moved.bounds.translate(move);
    return moved;
}
