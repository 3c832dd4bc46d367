#include "export/PngEncoder.h"

#include "export/PixelRunDeflate.h"
#include "support/ParallelRange.h"
#include "support/PixelKernels.h"

#include <QtEndian>
#include <libdeflate.h>
#include <zlib.h>

#include <array>
#include <cstring>
#include <limits>
#include <vector>

namespace PngEncoder {

namespace {

constexpr std::array<char, 8> Signature{'\x89', 'P', 'N', 'G', '\r', '\n', '\x1a', '\n'};
constexpr quint32 PixelsPerMetreAt72Dpi = 2835;
constexpr char FilterUp = 2;
// Below this much filtered data a picture is one part: splitting it would cost more in
// thread hand-overs and block tables than it saves.
constexpr std::size_t OnePartLimit = 4u << 20;
// The filtered rows a part hands to the compressor at a time: small enough to stay in cache.
constexpr std::size_t BatchBytes = 256u << 10;
// Each part restarts the compressor's history; more parts than cores gain nothing.
constexpr int MaxParts = 64;

void AppendBigEndian(QByteArray& out, quint32 value) {
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void AppendChunk(QByteArray& out, const char type[4], const QByteArray& data) {
    AppendBigEndian(out, quint32(data.size()));
    const qsizetype typeStart = out.size();
    out.append(type, 4);
    out.append(data);
    AppendBigEndian(out, libdeflate_crc32(0, out.constData() + typeStart, size_t(data.size()) + 4));
}

// One row as straight RGBA, or as RGB with the alpha left out.
void StraightRow(const QRgb* row, int width, Channels channels, uint8_t* out) {
    const auto* bytes = reinterpret_cast<const uchar*>(row);
    if (channels == Channels::Rgba)
        PixelKernels::StraightRgba(bytes, width, out);
    else
        PixelKernels::StraightRgb(bytes, width, out);
}

// Filters rows [begin, end) with "Up" (no search, and it turns the vertical gradients of
// icon backgrounds into zeros), handing each batch of filtered rows to `sink`. The row above
// `begin` is converted again, so any part of the picture can be filtered on its own.
template <typename Sink>
void FilterRows(const PictureRows& pixels, Channels channels, int begin, int end,
                std::vector<uint8_t>& batch, Sink&& sink) {
    const int width = pixels.size.width();
    const std::size_t sourceBytes = std::size_t(width) * sizeof(QRgb);
    // Two rows of scratch, taken in turn, so the row above stays readable.
    std::vector<QRgb> scratch(2 * static_cast<std::size_t>(width));
    auto sourceRow = [&](int y) { return pixels.row(y, scratch.data() + (y % 2) * width); };
    const std::size_t rowBytes = std::size_t(width) * (channels == Channels::Rgb ? 3 : 4) + 1;
    std::vector<uint8_t> previous(rowBytes - 1, 0);
    std::vector<uint8_t> current(rowBytes - 1);
    const QRgb* above = nullptr;
    if (begin > 0) {
        above = sourceRow(begin - 1);
        StraightRow(above, width, channels, previous.data());
    }
    const std::size_t rowsPerBatch = std::max<std::size_t>(1, BatchBytes / rowBytes);
    batch.resize(rowsPerBatch * rowBytes);
    std::size_t filled = 0;
    for (int y = begin; y < end; ++y) {
        const QRgb* row = sourceRow(y);
        uint8_t* out = batch.data() + filled;
        out[0] = FilterUp;
        // A row like the one above (most rows of a vertical gradient) filters to zeros, and
        // its straight colour is the row above's.
        if (above && std::memcmp(row, above, sourceBytes) == 0) {
            std::memset(out + 1, 0, rowBytes - 1);
        } else {
            StraightRow(row, width, channels, current.data());
            PixelKernels::SubtractBytes(current.data(), previous.data(), rowBytes - 1, out + 1);
            previous.swap(current);
        }
        above = row;
        filled += rowBytes;
        if (filled == batch.size() || y + 1 == end) {
            sink(batch.data(), filled);
            filled = 0;
        }
    }
}

// One part of a picture: raw deflate data that ends on a byte boundary so the next part's
// data can follow it, or with the final block for the last part.
struct Part {
    QByteArray deflated;
    uLong adler = 1;
    std::size_t length = 0;
};

Part CompressPart(const PictureRows& pixels, Channels channels, int begin, int end, bool last) {
    Part part;
    PixelRunDeflate deflate(channels == Channels::Rgb ? 3 : 4);
    std::vector<uint8_t> batch;
    FilterRows(pixels, channels, begin, end, batch, [&](const uint8_t* data, std::size_t size) {
        part.adler = libdeflate_adler32(uint32_t(part.adler), data, size);
        part.length += size;
        deflate.Add(data, size);
    });
    part.deflated = deflate.Finish(last);
    return part;
}

// The zlib stream of a picture; a large one has its rows split into parts compressed on all
// threads. Each part starts without history, so the parts' deflate data simply follow one
// another; their checksums combine into the one the stream ends with.
QByteArray Compress(const PictureRows& pixels, int threads, Channels channels) {
    const int height = pixels.size.height();
    const std::size_t filteredBytes =
        (std::size_t(pixels.size.width()) * 4 + 1) * std::size_t(height);
    const int partCount = filteredBytes < OnePartLimit ? 1
                                                       : std::clamp(ResolveThreadCount(threads), 1,
                                                                    std::min(height, MaxParts));
    std::vector<Part> parts(static_cast<std::size_t>(partCount));
    ParallelRange(
        partCount, partCount,
        [&](int first, int last) {
            for (int p = first; p < last; ++p) {
                const int begin = int(qint64(height) * p / partCount);
                const int end = int(qint64(height) * (p + 1) / partCount);
                parts[std::size_t(p)] =
                    CompressPart(pixels, channels, begin, end, p + 1 == partCount);
            }
        },
        1);

    QByteArray stream;
    stream.append("\x78\x01", 2); // deflate, 32 KB window, fastest level
    uLong adler = 1;
    for (const Part& part : parts) {
        stream.append(part.deflated);
        adler = adler32_combine(adler, part.adler, z_off_t(part.length));
    }
    AppendBigEndian(stream, quint32(adler));
    return stream;
}

} // namespace

QByteArray Encode(const QImage& image, int threads, Channels channels) {
    return Encode(PictureRows::Of(image), threads, channels);
}

QByteArray Encode(const PictureRows& pixels, int threads, Channels channels) {
    if (pixels.size.isEmpty())
        return {};
    // A PNG chunk holds at most 2^31 - 1 bytes; artwork compresses far below that, but data
    // that does not compress cannot be stored in one chunk.
    const QByteArray compressed = Compress(pixels, threads, channels);
    if (compressed.isEmpty() || compressed.size() > std::numeric_limits<qint32>::max() - 1024)
        return {};

    QByteArray header;
    AppendBigEndian(header, quint32(pixels.size.width()));
    AppendBigEndian(header, quint32(pixels.size.height()));
    const char colorType = channels == Channels::Rgb ? 2 : 6; // RGB or RGBA
    header.append(char(8));                                   // bits per sample
    header.append(colorType);
    header.append(char(0)); // deflate
    header.append(char(0)); // adaptive filtering
    header.append(char(0)); // no interlace

    QByteArray density;
    AppendBigEndian(density, PixelsPerMetreAt72Dpi);
    AppendBigEndian(density, PixelsPerMetreAt72Dpi);
    density.append(char(1)); // unit: metre

    QByteArray png;
    png.reserve(compressed.size() + 128);
    png.append(Signature.data(), qsizetype(Signature.size()));
    AppendChunk(png, "IHDR", header);
    AppendChunk(png, "pHYs", density);
    AppendChunk(png, "IDAT", compressed);
    AppendChunk(png, "IEND", QByteArray());
    return png;
}

} // namespace PngEncoder
