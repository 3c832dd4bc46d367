#include "render/MacIconGrid.h"

#include "render/ShadowMask.h"

#include <QPainter>

#include <cmath>
#include <numbers>
#include <vector>

namespace MacIconGrid {

namespace {

// On the 1024-unit canvas: the corner radius of an equivalent circular corner, and the shadow.
constexpr double CornerRadius = 185.0 / 1024.0;
constexpr double ShadowDrop = 12.0 / 1024.0;
constexpr double ShadowBlur = 20.0 / 1024.0; // the blur's reach; its deviation is half of it
constexpr int ShadowOpacity = 77;            // 30 % black

// Each corner is a quarter of |x|^4 + |y|^4 = 1: its curvature is zero where it meets the
// straight side and grows towards the diagonal. Spread over 1.84 radii, it passes the diagonal
// where a circular corner of one radius would.
constexpr double CornerExponent = 4.0;
constexpr double CornerSpread = 1.84;

} // namespace

QRectF Body(int pixels) {
    const double side = pixels * BodyFraction;
    const double margin = (pixels - side) / 2.0;
    return QRectF(margin, margin, side, side);
}

QPainterPath BodyOutline(int pixels) {
    const QRectF body = Body(pixels);
    const double extent = std::min(body.width() / 2.0, CornerRadius * pixels * CornerSpread);
    constexpr int PointsPerCorner = 48;
    // Corner centres (where the straight sides would meet, moved in by the extent) and the
    // directions of the corner's two sides, clockwise from the top right.
    const struct {
        QPointF centre;
        double dx, dy;
    } corners[4] = {
        {QPointF(body.right() - extent, body.top() + extent), 1, -1},
        {QPointF(body.right() - extent, body.bottom() - extent), 1, 1},
        {QPointF(body.left() + extent, body.bottom() - extent), -1, 1},
        {QPointF(body.left() + extent, body.top() + extent), -1, -1},
    };
    QPainterPath path;
    for (int c = 0; c < 4; ++c) {
        for (int i = 0; i <= PointsPerCorner; ++i) {
            // From the side before the corner to the side after it, clockwise.
            double t = (double(i) / PointsPerCorner) * std::numbers::pi / 2;
            double u = std::pow(std::sin(t), 2.0 / CornerExponent);
            double v = std::pow(std::cos(t), 2.0 / CornerExponent);
            // Clockwise order alternates which axis leads at each corner.
            if (c % 2 == 1)
                std::swap(u, v);
            const QPointF point(corners[c].centre.x() + corners[c].dx * extent * u,
                                corners[c].centre.y() + corners[c].dy * extent * v);
            if (c == 0 && i == 0)
                path.moveTo(point);
            else
                path.lineTo(point);
        }
    }
    path.closeSubpath();
    return path;
}

QImage Finish(const QImage& picture) {
    const int pixels = picture.width();
    QImage body(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    body.fill(Qt::transparent);
    {
        QPainter painter(&body);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.fillPath(BodyOutline(pixels), Qt::black);
    }

    QImage icon(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    const double drop = ShadowDrop * pixels;
    const int wholeDrop = int(std::floor(drop));
    const double sigma = ShadowBlur * pixels / 2.0;
    const ShadowMask shadow(body, sigma, sigma, QPointF(0.0, drop - wholeDrop), 1);
    std::vector<std::uint8_t> coverage(static_cast<std::size_t>(pixels));
    for (int y = 0; y < pixels; ++y) {
        shadow.SampleRow(y - wholeDrop, 0, pixels, coverage.data());
        QRgb* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < pixels; ++x)
            row[x] = qRgba(0, 0, 0, (coverage[std::size_t(x)] * ShadowOpacity + 127) / 255);
    }

    QImage cut = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter painter(&cut);
        painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
        painter.drawImage(0, 0, body);
    }
    QPainter(&icon).drawImage(0, 0, cut);
    return icon;
}

} // namespace MacIconGrid
