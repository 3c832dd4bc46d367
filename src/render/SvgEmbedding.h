#pragma once

#include <QByteArray>
#include <QRectF>

// An SVG document rewritten to sit inside another: its root becomes an <svg> element whose
// user units are the document's own over `area`, every id and every reference to one gets
// `prefix` (so that two embedded documents never collide), entities are expanded, and the XML
// declaration and document type are dropped. Empty when the document is not well-formed XML.
QByteArray EmbeddedSvg(const QByteArray& document, const QRectF& area, const QByteArray& prefix);
