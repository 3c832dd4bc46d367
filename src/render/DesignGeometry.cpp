#include "render/DesignGeometry.h"

#include "design/DesignValues.h"
#include "design/FontFamilies.h"
#include "design/LayerEffects.h"
#include "render/OutlinedShape.h"
#include "render/PreparedVectorIcon.h"
#include "render/TextOutline.h"
#include "render/YUpGeometry.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace DesignGeometry {

IconDesign ForDrawing(IconDesign d) {
    auto keep = [](auto& value, double low, double high, double fallback) {
        using T = std::remove_reference_t<decltype(value)>;
        value = std::isfinite(value) ? T(std::clamp(double(value), low, high)) : T(fallback);
    };
    constexpr double kFar = 1e6; // far beyond any canvas, still exact in 32-bit offsets
    keep(d.canvasWidth, 1, DesignValues::LargestSide, 1);
    keep(d.canvasHeight, 1, DesignValues::LargestSide, 1);
    keep(d.cornerCurvature, -kFar, kFar, 0);
    keep(d.backgroundStrokeSize, 0, kFar, 0);
    keep(d.backgroundShadowOffset, -kFar, kFar, 0);
    keep(d.backgroundShadowAngle, -kFar, kFar, 0);
    keep(d.backgroundShadowBlur, 0, 20000, 0);
    keep(d.iconVerticalOffset, -kFar, kFar, 0);
    keep(d.iconHorizontalOffset, -kFar, kFar, 0);
    keep(d.iconRotation, -kFar, kFar, 0);
    keep(d.iconScale, 0, 100000, 100);
    keep(d.iconShadowOffset, -kFar, kFar, 0);
    keep(d.iconShadowAngle, -kFar, kFar, 0);
    keep(d.iconShadowBlur, 0, 20000, 0);
    keep(d.textVerticalOffset, -kFar, kFar, 0);
    keep(d.textHorizontalOffset, -kFar, kFar, 0);
    keep(d.fontSize, 0, 100000, 0);
    keep(d.textShadowOffset, -kFar, kFar, 0);
    keep(d.textShadowAngle, -kFar, kFar, 0);
    keep(d.textShadowBlur, 0, 20000, 0);
    keep(d.textStrokeSize, 0, 1000, 0);
    return d;
}

Frame FrameOf(const IconDesign& design, bool fullBleed, bool drawBackground) {
    // The values the drawing uses, converted with the arithmetic the stored settings imply:
    // the corner radius in 32 bits.
    const double w = design.canvasWidth;
    const double h = design.canvasHeight;
    const double radius = fullBleed ? 0.0
                                    : std::max(design.canvasWidth, design.canvasHeight) *
                                          design.cornerCurvature * 0.5f;
    const Outline outline = OutlineOf(design, DesignValues::Layer::Background);
    Frame frame;
    frame.fullBleed = fullBleed;
    frame.opaqueBackground = fullBleed || !design.transparentBackground;
    frame.stroke = std::max(0.0, outline.size);
    frame.outlined = !fullBleed && outline.on && frame.opaqueBackground;
    frame.inset = frame.outlined ? frame.stroke * 0.5 : 0.0;
    frame.outlinedSize = frame.outlined ? QSizeF(w + frame.stroke, h + frame.stroke) : QSizeF(w, h);
    frame.backgroundShadow = !fullBleed && ShadowOf(design, DesignValues::Layer::Background).on &&
                             frame.opaqueBackground && drawBackground;
    frame.shadowMargin = frame.backgroundShadow ? QPointF(frame.outlinedSize.width() * 0.06,
                                                          frame.outlinedSize.height() * 0.06)
                                                : QPointF();
    frame.outerSize = QSizeF(frame.outlinedSize.width() + 2 * frame.shadowMargin.x(),
                             frame.outlinedSize.height() + 2 * frame.shadowMargin.y());
    frame.background =
        YUpGeometry::ToQt(QRectF(frame.inset, frame.inset, w, h), frame.outlinedSize.height());
    if (fullBleed)
        frame.backgroundPath.addRect(frame.background);
    else
        frame.backgroundPath.addRoundedRect(frame.background, radius, radius);
    // The outline's outer half stays visible: the background covers the inner half.
    if (frame.outlined && frame.stroke > 0.0)
        frame.outlinePath =
            ShapeWithOutline(frame.backgroundPath, OutlinePen(outline.color, frame.stroke));
    return frame;
}

QTransform PictureTransform(const Frame& frame, const QSizeF& output, double fraction) {
    const double kx = output.width() * fraction / frame.outerSize.width();
    const double ky = output.height() * fraction / frame.outerSize.height();
    return QTransform(kx, 0, 0, ky,
                      output.width() * (1.0 - fraction) * 0.5 + kx * frame.shadowMargin.x(),
                      output.height() * (1.0 - fraction) * 0.5 + ky * frame.shadowMargin.y());
}

QPolygonF TurnedIconCorners(const IconDesign& design, const QRectF& iconRect) {
    const QPolygonF unturned(QRectF(QPointF(0, 0), iconRect.size()));
    const QPolygonF turned = (TurnedWithin(iconRect.size(), design.iconRotation) *
                              QTransform::fromTranslate(iconRect.left(), iconRect.top()))
                                 .map(unturned);
    return QPolygonF(turned.mid(0, 4)); // the closing point repeats the first
}

QPen OutlinePen(const Rgba& color, double width) {
    QPen pen(color.toQColor(), width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setMiterLimit(kMiterLimit);
    return pen;
}

QTransform TurnedWithin(const QSizeF& size, double degrees) {
    const QTransform turn = QTransform().rotate(-degrees);
    const QRectF turned = turn.mapRect(QRectF(QPointF(0, 0), size));
    const QPointF centre(size.width() * 0.5, size.height() * 0.5);
    return QTransform::fromTranslate(-centre.x(), -centre.y()) * turn *
           QTransform::fromScale(size.width() / turned.width(), size.height() / turned.height()) *
           QTransform::fromTranslate(centre.x(), centre.y());
}

QSizeF IconSize(const IconDesign& design) {
    return design.iconVector
               ? FittedVectorIconSize(*design.iconVector, design.canvasWidth, design.canvasHeight)
               : QSizeF(design.iconImage.size());
}

QRectF IconRect(const IconDesign& design, const Frame& frame, const QSizeF& size) {
    // The scale as a 32-bit fraction, as the stored setting implies.
    const float iconScale = design.iconScale / 100.0f;
    const double iconW = size.width() * iconScale;
    const double iconH = size.height() * iconScale;
    return YUpGeometry::ToQt(
        QRectF(frame.inset + (design.canvasWidth - iconW) * 0.5 + design.iconHorizontalOffset,
               frame.inset + (design.canvasHeight - iconH) * 0.5 + design.iconVerticalOffset, iconW,
               iconH),
        frame.outlinedSize.height());
}

Text TextOf(const IconDesign& design, const Frame& frame, const Shadow& shadow) {
    const QRectF textRect = YUpGeometry::ToQt(QRectF(frame.inset + design.textHorizontalOffset,
                                                     frame.inset + design.textVerticalOffset,
                                                     design.canvasWidth, design.canvasHeight),
                                              frame.outlinedSize.height());
    Text text;
    const Outline outline = OutlineOf(design, DesignValues::Layer::Text);
    text.strokeWidth = outline.on ? outline.size / 100.0 * design.fontSize : 0.0;
    // Glyphs outside the background show only through what reaches into it: their outline's
    // mitred tips and their shadow, both cut by the background.
    const double reach = text.strokeWidth * kMiterLimit * 0.5 +
                         (shadow.on ? std::abs(shadow.distance) + 1.5 * shadow.blur + 2 : 0.0);
    text.glyphs = TextOutline(design.text, FontFamilyName(design.fontIndex), design.fontSize,
                              textRect, frame.background.adjusted(-reach, -reach, reach, reach));
    return text;
}

QPointF ShadowOffset(double distance, double angleDegrees) {
    constexpr double kPi = 3.141592653589793;
    const double radians = angleDegrees * kPi / 180.0;
    return YUpGeometry::ToQtOffset(distance * std::cos(radians), distance * std::sin(radians));
}

} // namespace DesignGeometry
