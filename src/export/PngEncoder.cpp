#include "export/PngEncoder.h"

#include <QtEndian>
#include <libdeflate.h>

#include <array>
#include <cstring>
#include <limits>
#include <memory>
#include <vector>

namespace PngEncoder {

namespace {

constexpr std::array<char, 8> Signature{'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
constexpr quint32 PixelsPerMetreAt72Dpi = 2835;
constexpr int CompressionLevel = 6;
constexpr char FilterUp = 2;

void AppendBigEndian(QByteArray& out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char type[4], const char* data, qsizetype size) {
    AppendBigEndian(out, quint32(size));
    const qsizetype typeStart = out.size();
    out.append(type, 4);
    out.append(data, size);
    const quint32 crc = libdeflate_crc32(0, out.constData() + typeStart, size_t(size) + 4);
    AppendBigEndian(out, crc);
}

// One image row as straight RGBA bytes (PNG stores colour not multiplied by alpha), or RGB
// bytes when `bytesPerPixel` is 3.
void StraightRow(const QRgb* pixels, int width, int bytesPerPixel, uint8_t* out) {
    for (int x = 0; x < width; ++x, out += bytesPerPixel) {
        const QRgb p = pixels[x];
        const uint alpha = qAlpha(p);
        if (alpha == 255) {
            out[0] = uint8_t(qRed(p));
            out[1] = uint8_t(qGreen(p));
            out[2] = uint8_t(qBlue(p));
        } else if (alpha == 0) {
            out[0] = out[1] = out[2] = 0;
        } else {
            const uint inverse = (255u << 16) / alpha;
            out[0] = uint8_t(std::min(255u, (qRed(p) * inverse + 0x8000u) >> 16));
            out[1] = uint8_t(std::min(255u, (qGreen(p) * inverse + 0x8000u) >> 16));
            out[2] = uint8_t(std::min(255u, (qBlue(p) * inverse + 0x8000u) >> 16));
        }
        if (bytesPerPixel == 4)
            out[3] = uint8_t(alpha);
    }
}

struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};

} // namespace

QByteArray Encode(const QImage& image, Channels channels) {
    if (image.isNull())
        return {};
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const int width = pixels.width();
    const int height = pixels.height();
    const int bytesPerPixel = channels == Channels::Rgb ? 3 : 4;
    const char colourType = channels == Channels::Rgb ? 2 : 6; // RGB or RGBA
    const std::size_t rowBytes = std::size_t(width) * bytesPerPixel + 1;

    // "Up" needs no search and turns the vertical gradients of icon backgrounds into zeros.
    std::vector<uint8_t> filtered(rowBytes * std::size_t(height));
    std::vector<uint8_t> previous(rowBytes - 1, 0);
    std::vector<uint8_t> current(rowBytes - 1);
    for (int y = 0; y < height; ++y) {
        StraightRow(reinterpret_cast<const QRgb*>(pixels.constScanLine(y)), width, bytesPerPixel,
                    current.data());
        uint8_t* out = filtered.data() + rowBytes * std::size_t(y);
        out[0] = FilterUp;
        for (std::size_t i = 0; i < current.size(); ++i)
            out[i + 1] = uint8_t(current[i] - previous[i]);
        previous.swap(current);
    }

    std::unique_ptr<libdeflate_compressor, CompressorDeleter> compressor(
        libdeflate_alloc_compressor(CompressionLevel));
    if (!compressor)
        return {};
    const std::size_t bound = libdeflate_zlib_compress_bound(compressor.get(), filtered.size());
    if (bound > std::size_t(std::numeric_limits<qint32>::max()) - 1024)
        return {};
    QByteArray compressed(qsizetype(bound), Qt::Uninitialized);
    const std::size_t compressedSize = libdeflate_zlib_compress(
        compressor.get(), filtered.data(), filtered.size(), compressed.data(), bound);
    if (compressedSize == 0)
        return {};

    QByteArray header;
    AppendBigEndian(header, quint32(width));
    AppendBigEndian(header, quint32(height));
    header.append(char(8)); // bits per sample
    header.append(colourType);
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering
    header.append(char(0)); // no interlace

    QByteArray density;
    AppendBigEndian(density, PixelsPerMetreAt72Dpi);
    AppendBigEndian(density, PixelsPerMetreAt72Dpi);
    density.append(char(1)); // unit: metre

    QByteArray png;
    png.reserve(qsizetype(compressedSize) + 128);
    png.append(Signature.data(), qsizetype(Signature.size()));
    AppendChunk(png, "IHDR", header.constData(), header.size());
    AppendChunk(png, "pHYs", density.constData(), density.size());
    AppendChunk(png, "IDAT", compressed.constData(), qsizetype(compressedSize));
    AppendChunk(png, "IEND", nullptr, 0);
    return png;
}

} // namespace PngEncoder
