#include "render/BadgeArt.h"

#include "design/ColorContrast.h"
#include "design/FontFamilies.h"
#include "render/DesignGeometry.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace {

// The text is outlined once at this size and scaled to each picture.
constexpr int ReferencePixels = 100;
// Shares of the area's side: the gap the badge keeps from the area's edge, the plate's height,
// the widest plate, and the compact mark's diameter.
constexpr double MarginShare = 0.03;
constexpr double HeightShare = 0.2;
constexpr double WidestShare = 0.8;
constexpr double MarkShare = 0.4;
// Shares of the plate's height: the capitals' height, and the room either side of the text.
constexpr double CapShare = 0.52;
constexpr double LabelPadShare = 0.45;
constexpr double RibbonPadShare = 0.7;
// The dark look keeps white text at this contrast, well past the legible minimum, so that the
// plate is clearly darker than its light look.
constexpr double DarkPlateRatio = 7.0;

QPointF Direction(Badge::Position position, bool corner) {
    constexpr double Diagonal = 0.7071067811865476;
    switch (position) {
    case Badge::Position::TopLeft:
        return {-Diagonal, -Diagonal};
    case Badge::Position::Top:
        return corner ? QPointF(Diagonal, -Diagonal) : QPointF(0, -1);
    case Badge::Position::TopRight:
        return {Diagonal, -Diagonal};
    case Badge::Position::BottomLeft:
        return {-Diagonal, Diagonal};
    case Badge::Position::Bottom:
        return corner ? QPointF(Diagonal, Diagonal) : QPointF(0, 1);
    case Badge::Position::BottomRight:
        break;
    }
    return {Diagonal, Diagonal};
}

bool Inside(const BadgeArea& area, const QPointF& point) {
    const QRectF& b = area.bounds;
    const double radius = std::min(area.radius, std::min(b.width(), b.height()) / 2);
    const double qx = std::abs(point.x() - b.center().x()) - (b.width() / 2 - radius);
    const double qy = std::abs(point.y() - b.center().y()) - (b.height() / 2 - radius);
    const double outside =
        std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
    return outside <= 1e-9;
}

bool Inside(const BadgeArea& area, const QPolygonF& corners, const QPointF& offset) {
    return std::all_of(corners.begin(), corners.end(),
                       [&](const QPointF& corner) { return Inside(area, corner + offset); });
}

// The farthest `from + t * step` (0 <= t <= reach) at which the corners keep inside the area.
QPointF Pushed(const BadgeArea& area, const QPolygonF& corners, const QPointF& from,
               const QPointF& step, double reach) {
    if (!Inside(area, corners, from))
        return from;
    double inside = 0.0;
    double outside = reach;
    for (int i = 0; i < 40; ++i) {
        const double middle = (inside + outside) / 2;
        (Inside(area, corners, from + middle * step) ? inside : outside) = middle;
    }
    return from + inside * step;
}

// Moved out towards `direction` until stopped, then along each of its axes: a corner label
// ends up against both sides of a square area, and against the curve of a round one.
QPointF Placed(const BadgeArea& area, const QPolygonF& corners, const QPointF& direction,
               bool slide) {
    const double reach = std::max(area.bounds.width(), area.bounds.height());
    QPointF centre = Pushed(area, corners, area.bounds.center(), direction, reach);
    if (!slide)
        return centre;
    if (direction.x() != 0)
        centre = Pushed(area, corners, centre, QPointF(direction.x() > 0 ? 1 : -1, 0), reach);
    if (direction.y() != 0)
        centre = Pushed(area, corners, centre, QPointF(0, direction.y() > 0 ? 1 : -1), reach);
    return centre;
}

QColor TextOn(const QColor& plate) {
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    if (ColorContrast::Ratio(white, plate) >= ColorContrast::LegibleRatio)
        return white;
    return ColorContrast::Ratio(black, plate) > ColorContrast::Ratio(white, plate) ? black : white;
}

QColor GrayOf(const QColor& color) {
    const double luminance = ColorContrast::RelativeLuminance(color);
    const double level =
        luminance <= 0.0031308 ? 12.92 * luminance : 1.055 * std::pow(luminance, 1 / 2.4) - 0.055;
    const QColor gray = QColor::fromRgbF(float(level), float(level), float(level));
    return ColorContrast::LegibleOn(gray, Qt::white, ColorContrast::LegibleRatio);
}

void Color(BadgeShapes& shapes, const QColor& chosen, BadgeLook look) {
    QColor color = chosen;
    color.setAlpha(255);
    switch (look) {
    case BadgeLook::Color:
        shapes.plateColor = color;
        shapes.textColor = TextOn(color);
        return;
    case BadgeLook::Dark:
        shapes.plateColor = ColorContrast::LegibleOn(color, Qt::white, DarkPlateRatio);
        shapes.textColor = Qt::white;
        return;
    case BadgeLook::Gray:
        shapes.plateColor = GrayOf(color);
        shapes.textColor = Qt::white;
        return;
    case BadgeLook::Silhouette:
        shapes.plateColor = Qt::white;
        shapes.textColor = Qt::transparent;
        return;
    }
}

} // namespace

BadgeArea BadgeArea::OfDesign(const IconDesign& requested) {
    const IconDesign design = DesignGeometry::ForDrawing(requested);
    const DesignGeometry::Frame frame = DesignGeometry::FrameOf(design, false, true);
    const double width = frame.outerSize.width();
    const double height = frame.outerSize.height();
    if (width <= 0 || height <= 0)
        return {QRectF(0, 0, 1, 1), 0.0};
    const QRectF b = frame.background.translated(frame.shadowMargin);
    const double radius = std::max(design.canvasWidth, design.canvasHeight) *
                          design.cornerCurvature * 0.5 / std::max(width, height);
    return {QRectF(b.x() / width, b.y() / height, b.width() / width, b.height() / height), radius};
}

BadgeArt::BadgeArt(const Badge& badge) : m_badge(badge) {
    if (!IsSet())
        return;
    QFont font(FontFamilyName(m_badge.family));
    font.setPixelSize(ReferencePixels);
    font.setWeight(QFont::Bold);
    const QString text = m_badge.text.simplified();
    m_capHeight = QFontMetricsF(font).capHeight();
    if (m_capHeight <= 0)
        m_capHeight = 0.7 * ReferencePixels;
    QPainterPath outline;
    outline.addText(QPointF(), font, text);
    // Centred across its ink, and down so that its capitals are centred.
    m_text = QTransform::fromTranslate(-outline.boundingRect().center().x(), m_capHeight / 2)
                 .map(outline);
}

BadgeShapes BadgeArt::Layout(const BadgeArea& area, BadgeLook look) const {
    BadgeShapes shapes;
    Color(shapes, m_badge.color, look);
    const double side = std::min(area.bounds.width(), area.bounds.height());
    const double margin = side * MarginShare;
    const BadgeArea inner{area.bounds.adjusted(margin, margin, -margin, -margin),
                          std::max(0.0, area.radius - margin)};
    const double innerSide = side - 2 * margin;
    if (side < CompactBelow) {
        const double radius = innerSide * MarkShare / 2;
        const QPolygonF corners(QRectF(-radius, -radius, 2 * radius, 2 * radius));
        const QPointF centre = Placed(inner, corners, Direction(m_badge.position, true), true);
        shapes.plate.addEllipse(centre, radius, radius);
        return shapes;
    }

    const bool ribbon = m_badge.style == Badge::Style::Ribbon;
    const double height = innerSide * HeightShare;
    const double pad = height * (ribbon ? RibbonPadShare : LabelPadShare);
    double scale = height * CapShare / m_capHeight;
    double width = m_text.boundingRect().width() * scale + 2 * pad;
    const double widest = innerSide * WidestShare;
    if (width > widest) {
        scale *= (widest - 2 * pad) / (width - 2 * pad);
        width = widest;
    }
    const QPointF direction = Direction(m_badge.position, false);
    const bool diagonal = direction.x() != 0 && direction.y() != 0;
    // A corner ribbon crosses its corner at 45 degrees, its text along it, read from the left.
    const double angle =
        ribbon && diagonal ? (direction.x() * direction.y() > 0 ? -45.0 : 45.0) : 0.0;
    const QTransform turn = QTransform().rotate(angle);
    const QRectF box(-width / 2, -height / 2, width, height);
    const QPointF centre = Placed(inner, turn.map(QPolygonF(box)), direction, !ribbon);
    const QTransform placed = turn * QTransform::fromTranslate(centre.x(), centre.y());

    if (ribbon) {
        // A band across the whole area, cut to it: the area's own edge ends it.
        QPainterPath band;
        band.addRect(QRectF(-2 * side, -height / 2, 4 * side, height));
        QPainterPath within;
        within.addRoundedRect(inner.bounds, inner.radius, inner.radius);
        shapes.plate = placed.map(band).intersected(within);
    } else {
        shapes.plate.addRoundedRect(box, height / 2, height / 2);
        shapes.plate = placed.map(shapes.plate);
    }
    shapes.text = (QTransform::fromScale(scale, scale) * placed).map(m_text);
    return shapes;
}

void BadgeArt::Draw(QImage& picture, const BadgeArea& area, BadgeLook look) const {
    if (picture.isNull() || !IsSet())
        return;
    picture.convertTo(QImage::Format_ARGB32_Premultiplied);
    const BadgeShapes shapes = Layout(area, look);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(shapes.plate, Qt::black);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.fillPath(shapes.plate, shapes.plateColor);
    if (shapes.textColor.alpha() == 0)
        painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(shapes.text,
                     shapes.textColor.alpha() == 0 ? QColor(Qt::black) : shapes.textColor);
}
