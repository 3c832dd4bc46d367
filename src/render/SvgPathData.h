#pragma once

#include <QByteArray>
#include <QPainterPath>
#include <QTransform>

// Numbers as an SVG document writes them: shortest form, enough digits for any canvas, and the
// same text for the same value on every machine.
QByteArray SvgNumber(double value);

// The path as the `d` attribute of an SVG path: moves, lines and cubic curves, every subpath as
// it is in the painter path.
QByteArray SvgPathData(const QPainterPath& path);

// "matrix(a b c d e f)" for the transform.
QByteArray SvgMatrix(const QTransform& transform);

// The path's fill rule as SVG names it.
QByteArray SvgFillRule(const QPainterPath& path);
