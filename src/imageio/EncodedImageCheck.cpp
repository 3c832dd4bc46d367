#include "imageio/EncodedImageCheck.h"

#include <QtEndian>

#include <algorithm>

namespace {

// A bounds-checked reading position in the encoded bytes.
class Cursor {
public:
    explicit Cursor(const QByteArray& bytes) : m_bytes(bytes) {}

    qsizetype position() const { return m_position; }
    bool Has(qsizetype count) const { return count <= m_bytes.size() - m_position; }
    bool Skip(qsizetype count) {
        if (count < 0 || !Has(count))
            return false;
        m_position += count;
        return true;
    }
    int At(qsizetype offset) const { return quint8(m_bytes[m_position + offset]); }
    int Byte() { return quint8(m_bytes[m_position++]); }

private:
    const QByteArray& m_bytes;
    qsizetype m_position = 0;
};

// JPEG: the segments must lead, through every scan, to the end-of-image marker; libjpeg
// makes one up when the data ends first. A sequential Huffman-coded picture also needs at
// least two bits (a DC and an end-of-block code) for each 8 x 8 block of its largest plane.
bool JpegCoversPicture(const QByteArray& bytes) {
    Cursor at(bytes);
    if (!at.Has(2) || at.Byte() != 0xFF || at.Byte() != 0xD8)
        return false;
    qint64 blocks = 0;
    qint64 entropyBytes = 0;
    for (;;) {
        // libjpeg passes over stray bytes before a marker with a warning only.
        while (at.Has(1) && at.At(0) != 0xFF)
            at.Byte();
        while (at.Has(1) && at.At(0) == 0xFF) // fill bytes before a marker
            at.Byte();
        if (!at.Has(1))
            return false;
        const int marker = at.Byte();
        if (marker == 0xD9)
            return entropyBytes * 8 >= blocks * 2;
        if ((marker >= 0xD0 && marker <= 0xD7) || marker == 0x01)
            continue; // markers without a segment
        if (!at.Has(2))
            return false;
        const int length = (at.At(0) << 8) | at.At(1);
        if ((marker == 0xC0 || marker == 0xC1) && at.Has(7)) {
            const qint64 height = (at.At(3) << 8) | at.At(4);
            const qint64 width = (at.At(5) << 8) | at.At(6);
            blocks = ((width + 7) / 8) * ((height + 7) / 8);
        }
        if (length < 2 || !at.Skip(length))
            return false;
        if (marker != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is neither a stuffed 0xFF 0x00
        // nor a restart marker.
        const qsizetype start = at.position();
        while (!(at.Has(2) && at.At(0) == 0xFF && at.At(1) != 0x00 &&
                 !(at.At(1) >= 0xD0 && at.At(1) <= 0xD7))) {
            if (!at.Skip(1))
                return false;
        }
        entropyBytes += at.position() - start;
    }
}

// Skips a chain of GIF data sub-blocks up to and including its terminator; returns the number
// of data bytes, or -1 when the data ends inside the chain.
qint64 SkipGifSubBlocks(Cursor& at) {
    qint64 total = 0;
    for (;;) {
        if (!at.Has(1))
            return -1;
        const int size = at.Byte();
        if (size == 0)
            return total;
        if (!at.Skip(size))
            return -1;
        total += size;
    }
}

// The most pixels LZW codes can produce from `bits` bits of data: each code yields at most
// one pixel more than the code before it, and no string is longer than the 4096-entry table.
qint64 MostLzwPixels(qint64 bits, int minimumCodeSize) {
    const qint64 codes = bits / (minimumCodeSize + 1);
    constexpr qint64 kLongestString = 4096;
    const qint64 rising = std::min(codes, kLongestString);
    return rising * (rising + 1) / 2 + (codes - rising) * kLongestString;
}

// GIF: the first picture (the one Qt shows) must be complete, and its compressed data must be
// able to produce its announced pixels.
bool GifCoversPicture(const QByteArray& bytes) {
    Cursor at(bytes);
    if (!at.Has(13) || !bytes.startsWith("GIF"))
        return false;
    const int screenFlags = at.At(10);
    at.Skip(13);
    if ((screenFlags & 0x80) && !at.Skip(3 << ((screenFlags & 7) + 1)))
        return false;
    for (;;) {
        if (!at.Has(1))
            return false;
        switch (at.Byte()) {
        case 0x21: // extension: a label, then sub-blocks
            if (!at.Skip(1) || SkipGifSubBlocks(at) < 0)
                return false;
            break;
        case 0x2C: { // image descriptor
            if (!at.Has(9))
                return false;
            const qint64 width = at.At(4) | (at.At(5) << 8);
            const qint64 height = at.At(6) | (at.At(7) << 8);
            const int flags = at.At(8);
            at.Skip(9);
            if ((flags & 0x80) && !at.Skip(3 << ((flags & 7) + 1)))
                return false;
            if (!at.Has(1))
                return false;
            const int minimumCodeSize = std::clamp(at.Byte(), 2, 11);
            const qint64 dataBytes = SkipGifSubBlocks(at);
            return dataBytes >= 0 &&
                   MostLzwPixels(dataBytes * 8, minimumCodeSize) >= width * height;
        }
        default:
            return false;
        }
    }
}

// BMP: uncompressed pixel rows must all be in the file. Run-length data may legitimately
// skip most of the picture, so only its header is checked by Qt.
bool BmpCoversPicture(const QByteArray& bytes) {
    if (bytes.size() < 26 || !bytes.startsWith("BM"))
        return false;
    const uchar* data = reinterpret_cast<const uchar*>(bytes.constData());
    const qint64 pixelsOffset = qFromLittleEndian<quint32>(data + 10);
    const quint32 headerSize = qFromLittleEndian<quint32>(data + 14);
    qint64 width = 0, height = 0, bitsPerPixel = 0;
    quint32 compression = 0;
    if (headerSize == 12) {
        width = qFromLittleEndian<quint16>(data + 18);
        height = qFromLittleEndian<quint16>(data + 20);
        bitsPerPixel = qFromLittleEndian<quint16>(data + 24);
    } else {
        if (bytes.size() < 34)
            return false;
        width = qFromLittleEndian<qint32>(data + 18);
        height = std::abs(qint64(qFromLittleEndian<qint32>(data + 22)));
        bitsPerPixel = qFromLittleEndian<quint16>(data + 28);
        compression = qFromLittleEndian<quint32>(data + 30);
    }
    // Sides beyond these are refused by the size check anyway; this keeps the sums in range.
    if (width < 0 || width > 65535 || height > 65535)
        return false;
    constexpr quint32 kRgb = 0, kBitFields = 3, kAlphaBitFields = 6;
    if (compression != kRgb && compression != kBitFields && compression != kAlphaBitFields)
        return true;
    const qint64 rowBytes = (width * bitsPerPixel + 31) / 32 * 4;
    return pixelsOffset + rowBytes * height <= bytes.size();
}

} // namespace

bool EncodedDataCoversPicture(const QByteArray& bytes, const QByteArray& format) {
    if (format == "jpeg")
        return JpegCoversPicture(bytes);
    if (format == "gif")
        return GifCoversPicture(bytes);
    if (format == "bmp")
        return BmpCoversPicture(bytes);
    return true;
}

QSize AllocatedSize(const QByteArray& bytes, const QByteArray& format, QSize reported) {
    if (format != "gif" || bytes.size() < 10)
        return reported;
    const uchar* screen = reinterpret_cast<const uchar*>(bytes.constData()) + 6;
    return reported.expandedTo(
        QSize(qFromLittleEndian<quint16>(screen), qFromLittleEndian<quint16>(screen + 2)));
}
