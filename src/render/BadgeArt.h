#pragma once

#include "design/IconDesign.h"
#include "render/Badge.h"

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QRectF>

#include <algorithm>

// Where a badge may go in a picture, in its pixels: a rectangle with rounded corners, which is
// a circle when the radius is half its side. The badge keeps wholly inside it.
struct BadgeArea {
    QRectF bounds;
    double radius = 0.0;

    static BadgeArea Circle(const QPointF& centre, double radius) {
        return {QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), radius};
    }

    // The area given in a picture 1 wide and 1 high, in a picture of `size`.
    BadgeArea Scaled(const QSizeF& size) const {
        return {QRectF(bounds.x() * size.width(), bounds.y() * size.height(),
                       bounds.width() * size.width(), bounds.height() * size.height()),
                radius * std::min(size.width(), size.height())};
    }

    // The design's background as its pictures draw it (inside its outline and shadow, with its
    // rounded corners), in a picture 1 wide and 1 high: a badge over the design as drawn stays
    // on it.
    static BadgeArea OfDesign(const IconDesign& design);
};

// How a picture's appearance shows the badge.
enum class BadgeLook {
    Color,      // in its colour, the text white (or black where white would not read)
    Dark,       // its colour darkened, for a dark appearance, the text white
    Gray,       // a gray as light as its colour, darkened where white would not read on it
    Silhouette, // opaque white with the text cut out: part of a one-colour silhouette
};

// A badge laid out in a picture's pixels.
struct BadgeShapes {
    QPainterPath plate;
    QPainterPath text; // empty for the compact mark
    QColor plateColor;
    QColor textColor; // transparent where the text is cut out of the plate
};

// A badge ready to be drawn into many pictures: its text is outlined once, and every picture
// lays it out for its own area and size. May be used from several threads at once.
class BadgeArt {
public:
    explicit BadgeArt(const Badge& badge);

    bool IsSet() const { return m_badge.IsSet(); }
    const Badge& Options() const { return m_badge; }

    // An area narrower than this many pixels cannot show readable text: the badge is then a
    // solid mark of its colour in the corner its position names (the bottom and top ones in
    // the right-hand corner).
    static constexpr double CompactBelow = 32.0;

    BadgeShapes Layout(const BadgeArea& area, BadgeLook look) const;

    // Draws the badge over `picture`, replacing what is under its plate.
    void Draw(QImage& picture, const BadgeArea& area, BadgeLook look) const;

private:
    Badge m_badge;
    QPainterPath m_text; // at the reference size, centred on the origin
    double m_capHeight = 0.0;
};
