#pragma once

#include <QPainterPath>
#include <QPen>

// The area a convex shape covers together with the outer half of its outline drawn with `pen`:
// the shape grown outward by half the pen width, with the pen's joins at its corners.
//
// Filling the stroke itself does not give this for wide pens: where the pen is wider than the
// shape, the inner side of the stroke folds over to the far side of the shape and cancels the
// outer side there, leaving a transparent ring inside the outline.
QPainterPath ShapeWithOutline(const QPainterPath& convexShape, const QPen& pen);
