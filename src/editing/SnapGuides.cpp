#include "editing/SnapGuides.h"

#include <cmath>
#include <optional>

namespace {

// On one axis: the box's three candidate positions against every line of that orientation.
std::optional<double> AxisShift(const double (&candidates)[3], Qt::Orientation orientation,
                                const std::vector<SnapLine>& lines, double tolerance) {
    std::optional<double> best;
    for (const SnapLine& line : lines) {
        if (line.orientation != orientation)
            continue;
        for (const double candidate : candidates) {
            const double shift = line.position - candidate;
            if (std::abs(shift) <= tolerance && (!best || std::abs(shift) < std::abs(*best)))
                best = shift;
        }
    }
    return best;
}

} // namespace

Snapped SnapBox(const QRectF& box, const std::vector<SnapLine>& lines, double tolerance) {
    const double xs[3] = {box.left(), box.center().x(), box.right()};
    const double ys[3] = {box.top(), box.center().y(), box.bottom()};
    Snapped snapped;
    const std::optional<double> dx = AxisShift(xs, Qt::Vertical, lines, tolerance);
    const std::optional<double> dy = AxisShift(ys, Qt::Horizontal, lines, tolerance);
    snapped.shift = {dx.value_or(0.0), dy.value_or(0.0)};
    // Every line the moved box now touches is shown, so two targets at one place both show.
    const QRectF moved = box.translated(snapped.shift);
    constexpr double kSame = 1e-6;
    for (const SnapLine& line : lines) {
        const bool vertical = line.orientation == Qt::Vertical;
        if (!(vertical ? dx : dy))
            continue;
        const double edges[3] = {vertical ? moved.left() : moved.top(),
                                 vertical ? moved.center().x() : moved.center().y(),
                                 vertical ? moved.right() : moved.bottom()};
        for (const double edge : edges)
            if (std::abs(edge - line.position) < kSame) {
                snapped.guides.push_back(line);
                break;
            }
    }
    return snapped;
}

void AddBoxLines(std::vector<SnapLine>& lines, const QRectF& box) {
    for (const double x : {box.left(), box.center().x(), box.right()})
        lines.push_back({Qt::Vertical, x});
    for (const double y : {box.top(), box.center().y(), box.bottom()})
        lines.push_back({Qt::Horizontal, y});
}

void AddCentreLines(std::vector<SnapLine>& lines, const QRectF& box) {
    lines.push_back({Qt::Vertical, box.center().x()});
    lines.push_back({Qt::Horizontal, box.center().y()});
}
