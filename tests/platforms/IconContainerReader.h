#pragma once

// Minimal readers for the icon containers, written from the file formats alone, so the tests
// read what was written as the consuming systems would and do not trust our writers' code.

#include <QImage>
#include <QList>
#include <QString>
#include <QtEndian>

namespace IconContainerReader {

struct Entry {
    QByteArray type; // the icns type code, or "png" / "bmp" for an ico entry
    QImage image;    // decoded, straight ARGB32
};

// Reads an icns file: "icns", the big-endian total length, then entries of a four-letter
// type, a length that counts its own 8-byte header, and PNG data. Returns an error or "".
inline QString ReadIcns(const QByteArray& bytes, QList<Entry>& entries) {
    if (bytes.size() < 8 || bytes.left(4) != "icns" ||
        qFromBigEndian<quint32>(bytes.constData() + 4) != quint32(bytes.size()))
        return QStringLiteral("no icns header of the file's length");
    qsizetype at = 8;
    while (at < bytes.size()) {
        const quint32 length =
            bytes.size() - at < 8 ? 0 : qFromBigEndian<quint32>(bytes.constData() + at + 4);
        if (length < 8 || length > quint32(bytes.size() - at))
            return QStringLiteral("entry at %1 has length %2").arg(at).arg(length);
        Entry entry;
        entry.type = bytes.mid(at, 4);
        entry.image = QImage::fromData(bytes.mid(at + 8, length - 8), "PNG")
                          .convertToFormat(QImage::Format_ARGB32);
        if (entry.image.isNull())
            return QStringLiteral("entry %1 is no PNG").arg(QString::fromLatin1(entry.type));
        entries.append(entry);
        at += length;
    }
    return {};
}

// A 32-bit BMP entry of an ico file: BITMAPINFOHEADER with the height of colour and mask
// rows together, bottom-up BGRA rows, then a 1-bit AND mask (rows padded to 32 bits) whose set
// bits must be exactly the fully transparent pixels.
inline QString ReadIcoBitmap(const QByteArray& data, int size, QImage& image) {
    auto u32 = [&](int at) { return qFromLittleEndian<quint32>(data.constData() + at); };
    auto u16 = [&](int at) { return qFromLittleEndian<quint16>(data.constData() + at); };
    const int maskRow = ((size + 31) / 32) * 4;
    if (data.size() != 40 + size * size * 4 + maskRow * size || u32(0) != 40 ||
        int(u32(4)) != size || int(u32(8)) != 2 * size || u16(12) != 1 || u16(14) != 32 ||
        u32(16) != 0)
        return QStringLiteral("no uncompressed 32-bit bitmap of %1 pixels a side").arg(size);
    image = QImage(size, size, QImage::Format_ARGB32);
    const uchar* pixels = reinterpret_cast<const uchar*>(data.constData()) + 40;
    const uchar* mask = pixels + size * size * 4;
    for (int row = 0; row < size; ++row) {
        const int y = size - 1 - row;
        for (int x = 0; x < size; ++x) {
            const uchar* p = pixels + (row * size + x) * 4;
            image.setPixel(x, y, qRgba(p[2], p[1], p[0], p[3]));
            const bool masked = mask[row * maskRow + x / 8] & (0x80 >> (x % 8));
            if (masked != (p[3] == 0))
                return QStringLiteral("mask bit wrong at %1,%2").arg(x).arg(y);
        }
    }
    return {};
}

// Reads an ico file: the directory (reserved 0, type 1, count), one 16-byte record per entry
// (width and height, 0 standing for 256; 32 bits per pixel; length and offset inside the
// file), each entry a PNG or a bitmap. Returns an error or "".
inline QString ReadIco(const QByteArray& bytes, QList<Entry>& entries) {
    auto u16 = [&](qsizetype at) { return qFromLittleEndian<quint16>(bytes.constData() + at); };
    auto u32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.constData() + at); };
    if (bytes.size() < 6 || u16(0) != 0 || u16(2) != 1)
        return QStringLiteral("no ico header");
    const int count = u16(4);
    if (bytes.size() < 6 + 16 * count)
        return QStringLiteral("directory cut short");
    qsizetype expectedOffset = 6 + 16 * count; // entries follow each other without gaps
    for (int i = 0; i < count; ++i) {
        const qsizetype record = 6 + 16 * i;
        const int width = uchar(bytes[record]) ? uchar(bytes[record]) : 256;
        const int height = uchar(bytes[record + 1]) ? uchar(bytes[record + 1]) : 256;
        const quint32 length = u32(record + 8);
        const quint32 offset = u32(record + 12);
        if (width != height || u16(record + 4) != 1 || u16(record + 6) != 32)
            return QStringLiteral("record %1 is not a square 32-bit entry").arg(i);
        if (offset != expectedOffset || length > quint32(bytes.size()) - offset)
            return QStringLiteral("record %1 points at %2 (+%3)").arg(i).arg(offset).arg(length);
        expectedOffset += length;
        const QByteArray data = bytes.mid(offset, length);
        Entry entry;
        if (data.startsWith("\x89PNG\r\n\x1a\n")) {
            entry.type = "png";
            entry.image = QImage::fromData(data, "PNG").convertToFormat(QImage::Format_ARGB32);
            if (entry.image.isNull())
                return QStringLiteral("record %1: PNG does not decode").arg(i);
        } else {
            entry.type = "bmp";
            const QString error = ReadIcoBitmap(data, width, entry.image);
            if (!error.isEmpty())
                return QStringLiteral("record %1: %2").arg(i).arg(error);
        }
        entries.append(entry);
    }
    if (expectedOffset != bytes.size())
        return QStringLiteral("%1 bytes after the last entry").arg(bytes.size() - expectedOffset);
    return {};
}

// The colour type byte of a PNG file's IHDR chunk: 2 for RGB, 6 for RGBA; -1 when the file
// does not start with a signature and an IHDR chunk.
inline int PngColorType(const QByteArray& png) {
    if (png.size() < 33 || !png.startsWith("\x89PNG\r\n\x1a\n") || png.mid(12, 4) != "IHDR")
        return -1;
    return uchar(png[25]);
}

} // namespace IconContainerReader
