#pragma once

#include "imageio/OpenJpegHandles.h"

#include <QByteArray>

namespace OpenJpeg {

// An input stream over bytes already in memory. The bytes must outlive the stream.
Stream MemoryStream(const QByteArray& bytes);

} // namespace OpenJpeg
