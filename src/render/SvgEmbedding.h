#pragma once

#include "render/SvgColourRewrite.h"

#include <QByteArray>
#include <QRectF>

// An SVG document rewritten to sit inside another: its root becomes an <svg> element whose
// user units are the document's own over `area`, every id and every reference to one gets
// `prefix` (so that two embedded documents never collide), entities are expanded, and the XML
// declaration and document type are dropped. Empty when the document is not well-formed XML.
// With `recolour`, every colour the document names is changed by it (see SvgColourRewrite), and
// so is the black that its shapes are painted in when it names no colour for them.
QByteArray EmbeddedSvg(const QByteArray& document, const QRectF& area, const QByteArray& prefix,
                       const SvgColourRewrite::ColourChange& recolour = {});
