#pragma once

#include <QByteArray>
#include <QSize>

// Tells from the structure of an encoded image, before any pixel is decoded, whether its data
// can hold the picture its header announces. Qt's JPEG, GIF and BMP readers fill what is
// missing with grey or transparency and report success, so a file cut short, or a few bytes
// claiming 10000 x 10000 pixels, would otherwise be accepted after allocating the full size.
// `format` is the name QImageReader gives the data ("jpeg", "gif", "bmp"); other formats have
// readers that report such damage themselves and always pass.
bool EncodedDataCoversPicture(const QByteArray& bytes, const QByteArray& format);

// The size Qt's reader allocates for the data: the size it reports, except for GIF, whose
// reader reports the first picture's size but allocates the whole logical screen.
QSize AllocatedSize(const QByteArray& bytes, const QByteArray& format, QSize reported);
