#pragma once

#include <QByteArray>
#include <QImage>

// JPEG 2000 in the JP2 container through OpenJPEG. The compression factor (0.0 to 1.0) is a
// quality: 1.0 is lossless, lower values trade fidelity for size through the target
// signal-to-noise ratio of the single quality layer.
namespace Jpeg2000Encoder {

// The JP2 file of `image` (any format; premultiplied ARGB32 is the fast path) with an alpha
// channel when the image has transparency. Empty on failure.
QByteArray Encode(const QImage& image, double compressionFactor);

} // namespace Jpeg2000Encoder
