#pragma once

#include <QPainterPath>
#include <QRectF>
#include <QString>

// The glyph outlines of `text` laid out in `rect` (Qt orientation) the way a paragraph of
// centred text is drawn into a box: lines wrap at word boundaries within the box's width (a
// word longer than the line breaks anywhere), each line is centred, and the first line starts
// at the top edge. Outlines rather than rendered glyphs keep the text sharp at any canvas size.
//
// Only lines that can reach `visibleArea` (same coordinates as `rect`) are laid out and
// outlined: the text of a profile can be far longer than any canvas shows, and laying it all
// out would cost time and memory in proportion to its length rather than to the canvas.
QPainterPath TextOutline(const QString& text, const QString& family, float fontSize,
                         const QRectF& rect, const QRectF& visibleArea);
