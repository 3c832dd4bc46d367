#pragma once

#include <QImage>
#include <QString>

// Reads JPEG 2000 files (JP2 boxes or a bare codestream), which Qt has no reader for.
namespace Jpeg2000Decoder {

// True when the file starts like a JP2 file or a JPEG 2000 codestream.
bool Recognises(const QByteArray& head);

// The picture as premultiplied ARGB, or a null image when the file is damaged, uses a layout
// this reader does not handle (subsampled components, more than four), or declares a size
// beyond `maxSide` on a side or `maxArea` in all. The size is checked before any pixel is
// decoded.
QImage Decode(const QString& path, int maxSide, qint64 maxArea);

} // namespace Jpeg2000Decoder
