#pragma once

#include "export/AtomicFileWrite.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Writing one exported image: the export's half of the stateless image operations.
namespace ImageTools {

// The bitmap every format is encoded from: the image's size in units with the fractions cut
// off, one pixel per unit, premultiplied ARGB32, the image drawn over full transparency (no
// background is ever filled in). Null when that size is below one pixel.
QImage EncodingBitmap(const QImage& image);

// The file contents of `image` in the output format at `formatIndex`; `quality` is the
// compression factor (0.01 to 1.0), used by the JPEG and JPEG 2000 formats only. Entries that
// share an encoder give identical bytes. Empty for an index outside the format list or when
// the encoder fails.
QByteArray EncodeImage(const QImage& image, int formatIndex, double quality);

// Encodes the image and writes it to `path` as WriteOutputFile does: an existing file is
// replaced atomically (it stays untouched until the new one is complete, and is kept when
// anything fails), a symbolic link there is replaced, not followed, a pipe or a device is
// written to, and nothing else is ever replaced. Says why when nothing was written.
WriteResult SaveImage(const QImage& image, const QString& path, int formatIndex, double quality);

// Writes contents that EncodeImage made for the format at `formatIndex` as SaveImage does;
// empty contents are an image that could not be encoded.
WriteResult SaveEncoded(const QByteArray& encoded, const QString& path, int formatIndex);

} // namespace ImageTools
