#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>

// The macOS icon container: a big-endian "icns" header and one PNG entry per standard type
// code, the same picture serving a 1x code and the 2x code of half its size.
namespace IcnsWriter {

// The pixel sizes the standard type codes ask for, smallest first.
QList<int> Sizes();

// The container holding, under every standard type code, the PNG of that code's pixel size
// from `pngBySize`; codes whose size is missing are left out. Empty when no entry fits.
QByteArray Write(const QMap<int, QByteArray>& pngBySize);

} // namespace IcnsWriter
