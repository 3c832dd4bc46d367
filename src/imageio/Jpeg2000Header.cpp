#include "imageio/Jpeg2000Header.h"

#include <QtEndian>

namespace {

const QByteArray kJp2Signature("\x00\x00\x00\x0cjP  \r\n\x87\n", 12);
constexpr quint16 kStartOfCodestream = 0xFF4F;
constexpr quint16 kSizeMarker = 0xFF51;

quint16 Read16(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint16>(bytes.constData() + at);
}

quint32 Read32(QByteArrayView bytes, qsizetype at) {
    return qFromBigEndian<quint32>(bytes.constData() + at);
}

// The contents of the first box of `type` among the JP2 boxes that fill `boxes`; a null view
// when there is none or the boxes are damaged.
QByteArrayView FindBox(QByteArrayView boxes, const char* type) {
    qsizetype at = 0;
    while (boxes.size() - at >= 8) {
        // A length of 1 means a 64-bit length follows the type; 0 means "to the end".
        const qint64 length = Read32(boxes, at);
        const qsizetype headerSize = length == 1 ? 16 : 8;
        if (boxes.size() - at < headerSize)
            return {};
        const qint64 boxLength =
            length == 0
                ? boxes.size() - at
                : (length == 1 ? qFromBigEndian<qint64>(boxes.constData() + at + 8) : length);
        if (boxLength < headerSize || boxLength > boxes.size() - at)
            return {};
        if (boxes.sliced(at + 4, 4) == QByteArrayView(type, 4))
            return boxes.sliced(at + headerSize, boxLength - headerSize);
        at += boxLength;
    }
    return {};
}

// The number of channels a JP2 palette box expands the picture to, 0 when there is none.
int PaletteChannels(QByteArrayView file) {
    const QByteArrayView header = FindBox(file, "jp2h");
    const QByteArrayView palette = header.isNull() ? header : FindBox(header, "pclr");
    // Entries (2 bytes), then the channel count.
    return palette.size() >= 3 ? quint8(palette[2]) : 0;
}

qint64 CeilDiv(qint64 a, qint64 b) {
    return (a + b - 1) / b;
}

// The size marker, which must directly follow the start of the codestream.
bool ReadSizeMarker(QByteArrayView codestream, Jpeg2000Header& header) {
    // Markers (2 + 2), length (2), capabilities (2), eight 32-bit grid values, component count.
    constexpr qsizetype kFixedPart = 4 + 2 + 2 + 8 * 4 + 2;
    if (codestream.size() < kFixedPart || Read16(codestream, 0) != kStartOfCodestream ||
        Read16(codestream, 2) != kSizeMarker)
        return false;
    const qint64 length = Read16(codestream, 4);
    const qint64 width = Read32(codestream, 8), height = Read32(codestream, 12);
    const qint64 left = Read32(codestream, 16), top = Read32(codestream, 20);
    const qint64 tileWidth = Read32(codestream, 24), tileHeight = Read32(codestream, 28);
    const qint64 tileLeft = Read32(codestream, 32), tileTop = Read32(codestream, 36);
    const int count = Read16(codestream, 40);
    // Three bytes a component; the picture and its first tile must overlap.
    if (count < 1 || length != 38 + 3 * count || codestream.size() < 4 + length || width <= left ||
        height <= top || tileWidth < 1 || tileHeight < 1 || tileLeft > left || tileTop > top ||
        tileLeft + tileWidth <= left || tileTop + tileHeight <= top)
        return false;
    header.width = width - left;
    header.height = height - top;
    header.tilesAcross = CeilDiv(width - tileLeft, tileWidth);
    header.tilesDown = CeilDiv(height - tileTop, tileHeight);
    header.components.reserve(count);
    for (qsizetype at = kFixedPart; at < kFixedPart + 3 * count; at += 3) {
        const int depth = quint8(codestream[at]);
        const Jpeg2000Header::Component component{(depth & 0x7F) + 1, (depth & 0x80) != 0,
                                                  quint8(codestream[at + 1]),
                                                  quint8(codestream[at + 2])};
        if (component.subsamplingX < 1 || component.subsamplingY < 1)
            return false;
        header.components.append(component);
    }
    return true;
}

} // namespace

bool StartsAsJp2File(const QByteArray& head) {
    return head.startsWith(kJp2Signature);
}

bool StartsAsCodestream(const QByteArray& head) {
    return head.size() >= 4 && Read16(head, 0) == kStartOfCodestream &&
           Read16(head, 2) == kSizeMarker;
}

std::optional<Jpeg2000Header> ReadJpeg2000Header(const QByteArray& bytes) {
    Jpeg2000Header header;
    header.jp2File = StartsAsJp2File(bytes);
    QByteArrayView codestream(bytes);
    if (header.jp2File) {
        // The first codestream box holds the picture the decoder reads.
        codestream = FindBox(bytes, "jp2c");
        header.paletteChannels = PaletteChannels(bytes);
    }
    if (!ReadSizeMarker(codestream, header))
        return std::nullopt;
    return header;
}
