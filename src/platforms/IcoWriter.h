#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

// The Windows icon container. Entries below 256 pixels are 32-bit bitmaps with alpha (and the
// AND mask that older readers still look at); the 256-pixel entry is a PNG, as the system
// expects for that size.
namespace IcoWriter {

// The container with one entry per image, in the given order. Every image must be square and
// 1 to 256 pixels wide; empty otherwise, or when an entry cannot be encoded.
QByteArray Write(const QList<QImage>& images);

} // namespace IcoWriter
