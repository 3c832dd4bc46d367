#pragma once

#include "render/SvgColorRewrite.h"

#include <QByteArray>
#include <QRectF>

// How an embedding restyles the document: every colour it names changed by `recolour` (see
// SvgColourRewrite), and so the black its shapes are painted in where it names none; its style
// sheets applied only under the media query `styleMedia` (a second copy of a document in one
// page must not restyle the first: a style sheet reaches the whole page).
struct SvgRestyling {
    SvgColorRewrite::ColorChange recolor = {};
    QByteArray styleMedia = {};
};

// An SVG document rewritten to sit inside another: its root becomes an <svg> element whose
// user units are the document's own over `area`, every id and every reference to one gets
// `prefix` (so that two embedded documents never collide), entities are expanded, and the XML
// declaration and document type are dropped. Empty when the document is not well-formed XML.
QByteArray EmbeddedSvg(const QByteArray& document, const QRectF& area, const QByteArray& prefix,
                       const SvgRestyling& restyling = {});
