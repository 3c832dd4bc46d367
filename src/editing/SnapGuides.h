#pragma once

#include <QRectF>

#include <vector>

// A line a dragged layer can snap to, in frame units: a vertical line at x = `position`, or a
// horizontal one at y = `position`.
struct SnapLine {
    Qt::Orientation orientation;
    double position;
};

// Where a dragged box ends up: moved by `shift` so that one of its edges or its centre lies on
// a line, on each axis independently; `guides` are the lines it now lies on, to be shown.
struct Snapped {
    QPointF shift;
    std::vector<SnapLine> guides;
};

// The nearest line within `tolerance` units of the box's left edge, centre or right edge (and
// of its top, middle or bottom) wins on that axis; none within it leaves that axis as it is.
Snapped SnapBox(const QRectF& box, const std::vector<SnapLine>& lines, double tolerance);

// A box's edges and centre lines, for the other layers to snap to.
void AddBoxLines(std::vector<SnapLine>& lines, const QRectF& box);
// Its centre lines only, as the canvas offers them.
void AddCentreLines(std::vector<SnapLine>& lines, const QRectF& box);

// Snapping reaches this far on the screen, whatever the zoom.
constexpr double kSnapPixels = 6.0;
