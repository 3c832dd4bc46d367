#pragma once

#include <QByteArray>
#include <QImage>

// Reads JPEG 2000 data (JP2 boxes or a bare codestream), which Qt has no reader for.
namespace Jpeg2000Decoder {

// True when the data starts like a JP2 file or a JPEG 2000 codestream.
bool Recognises(const QByteArray& head);

// What a picture may ask of the decoder, all checked against its header before decoding.
struct Limits {
    int maxSide;          // pixels on either side
    qint64 maxArea;       // pixels in all
    qint64 maxPlaneBytes; // components x width x height x bytes the decoder holds per sample
    qint64 maxTiles;      // tiles the picture is coded in
};

// Whether the data's header reads and asks for no more than `limits` allow (the first check of
// Decode, which a caller may make without the decoder library).
bool HeaderWithinLimits(const QByteArray& bytes, const Limits& limits);

// The picture as premultiplied ARGB, or a null image when the data is damaged, uses a layout
// this reader does not draw (subsampled components, more than four components or palette
// channels, precision over 16 bits) or asks for more than `limits` allow. The limits are
// checked from the bytes before the decoder library sees them.
QImage Decode(const QByteArray& bytes, const Limits& limits);

} // namespace Jpeg2000Decoder
