#include "platforms/IcoWriter.h"

#include "export/PngEncoder.h"

#include <QtEndian>

namespace IcoWriter {

namespace {

constexpr int DirectoryHeaderBytes = 6;
constexpr int DirectoryEntryBytes = 16;
constexpr int BitmapInfoBytes = 40;
constexpr int LargestBitmap = 255; // from 256 pixels on, entries are PNG
constexpr quint16 IconType = 1;

void Append16(QByteArray& out, quint16 value) {
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void Append32(QByteArray& out, quint32 value) {
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

// A BITMAPINFOHEADER and its pixels: the height counts the colour rows and the mask rows
// together, rows run bottom-up, colours are straight BGRA, and the 1-bit mask marks the
// fully transparent pixels with rows padded to 32 bits.
QByteArray Bitmap(const QImage& image) {
    const QImage straight = image.convertToFormat(QImage::Format_ARGB32);
    const int size = straight.width();
    const int maskRowBytes = ((size + 31) / 32) * 4;
    const quint32 pixelBytes = quint32(size * size * 4 + maskRowBytes * size);

    QByteArray bitmap;
    bitmap.reserve(BitmapInfoBytes + qsizetype(pixelBytes));
    Append32(bitmap, BitmapInfoBytes);
    Append32(bitmap, quint32(size));
    Append32(bitmap, quint32(size * 2));
    Append16(bitmap, 1);  // planes
    Append16(bitmap, 32); // bits per pixel
    Append32(bitmap, 0);  // uncompressed
    Append32(bitmap, pixelBytes);
    Append32(bitmap, 0); // horizontal density: unspecified
    Append32(bitmap, 0); // vertical density
    Append32(bitmap, 0); // palette colours
    Append32(bitmap, 0); // important colours

    for (int y = size - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        for (int x = 0; x < size; ++x) // ARGB32 words are BGRA bytes little-endian
            Append32(bitmap, row[x]);
    }
    for (int y = size - 1; y >= 0; --y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(straight.constScanLine(y));
        QByteArray mask(maskRowBytes, '\0');
        for (int x = 0; x < size; ++x) {
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(mask[x / 8] | (0x80 >> (x % 8)));
        }
        bitmap.append(mask);
    }
    return bitmap;
}

} // namespace

QByteArray Write(const QList<QImage>& images) {
    QList<QByteArray> entries;
    for (const QImage& image : images) {
        if (image.isNull() || image.width() != image.height() || image.width() > 256)
            return {};
        entries.append(image.width() > LargestBitmap ? PngEncoder::Encode(image) : Bitmap(image));
        if (entries.last().isEmpty())
            return {};
    }
    if (entries.isEmpty())
        return {};

    QByteArray ico;
    Append16(ico, 0); // reserved
    Append16(ico, IconType);
    Append16(ico, quint16(entries.size()));
    quint32 offset = quint32(DirectoryHeaderBytes + DirectoryEntryBytes * entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const int size = images[i].width();
        ico.append(char(size & 0xff)); // width; 0 stands for 256
        ico.append(char(size & 0xff)); // height
        ico.append('\0');              // no palette
        ico.append('\0');              // reserved
        Append16(ico, 1);              // colour planes
        Append16(ico, 32);             // bits per pixel
        Append32(ico, quint32(entries[i].size()));
        Append32(ico, offset);
        offset += quint32(entries[i].size());
    }
    for (const QByteArray& entry : entries)
        ico.append(entry);
    return ico;
}

} // namespace IcoWriter
