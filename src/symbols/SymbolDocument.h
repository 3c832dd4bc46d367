#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>

#include <memory>

class SvgImage;
struct SymbolEntry;

// An entry of the library as a whole SVG document: the set's fragment inside an <svg> whose
// viewBox is the entry's own area. Empty when the set's drawings are damaged.
QByteArray SymbolDocument(const SymbolEntry& entry);

// The document read as any SVG icon image is, in a helper shared with the library's other
// documents; null when it cannot be.
std::shared_ptr<const SvgImage> ReadSymbol(const SymbolEntry& entry);

// The entry drawn to fit a square of `side` pixels, centred, for a list of entries: a symbol
// in `ink`, an emoji in its own colours. Null when it cannot be drawn.
QImage DrawSymbolSample(const SymbolEntry& entry, int side, const QColor& ink);
