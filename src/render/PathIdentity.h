#pragma once

#include <QPainterPath>
#include <QRectF>

// Exact comparisons for deciding whether a kept drawing result still answers a request. Qt's
// own operators compare within a tolerance, which would hand out a result for a slightly
// different request.
bool SamePath(const QPainterPath& a, const QPainterPath& b);
bool SameRect(const QRectF& a, const QRectF& b);
