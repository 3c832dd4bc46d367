#include "imageio/Jpeg2000Decoder.h"

#include "imageio/Jpeg2000Header.h"
#include "imageio/OpenJpegMemoryStream.h"

#include <algorithm>

namespace Jpeg2000Decoder {
namespace {

void Silent(const char*, void*) {}

// One component sample scaled to 0..255 whatever its precision and sign. Damaged data can
// hold values outside the precision, so the sum is taken in 64 bits.
struct SampleScale {
    explicit SampleScale(const opj_image_comp_t& c)
        : offset(c.sgnd ? (1 << (c.prec - 1)) : 0), maximum((1 << c.prec) - 1) {}
    int operator()(OPJ_INT32 v) const {
        return int(std::clamp<qint64>((qint64(v) + offset) * 255 / maximum, 0, 255));
    }
    qint64 offset;
    qint64 maximum;
};

// Everything the decoder will allocate follows from the header: tile and component records
// for every tile, and a 32-bit sample whatever the precision in one plane per component at the
// picture's size. Only layouts the renderer draws pass.
bool WithinLimits(const Jpeg2000Header& header, const Limits& limits) {
    const qint64 width = header.width;
    const qint64 height = header.height;
    if (width > limits.maxSide || height > limits.maxSide || width * height > limits.maxArea)
        return false;
    if (header.tilesAcross > limits.maxTiles || header.tilesDown > limits.maxTiles ||
        header.tilesAcross * header.tilesDown > limits.maxTiles)
        return false;
    const qsizetype count = header.components.size();
    if (count > 4 || header.paletteChannels > 4)
        return false;
    for (const Jpeg2000Header::Component& component : header.components) {
        if (component.subsamplingX != 1 || component.subsamplingY != 1 || component.precision > 16)
            return false;
    }
    // A palette replaces the one index plane by its channels once decoded.
    const qint64 planes = std::max<qint64>(count, header.paletteChannels);
    return planes * width * height * qint64(sizeof(OPJ_INT32)) <= limits.maxPlaneBytes;
}

// The decoder read the header that was checked.
bool SameHeader(const opj_image_t& image, const Jpeg2000Header& header) {
    return qint64(image.x1) - qint64(image.x0) == header.width &&
           qint64(image.y1) - qint64(image.y0) == header.height &&
           image.numcomps == OPJ_UINT32(header.components.size());
}

// Checked again after decoding: a palette or channel definitions may have changed the planes.
bool UsableLayout(const opj_image_t& image) {
    if (image.numcomps < 1 || image.numcomps > 4)
        return false;
    const opj_image_comp_t& first = image.comps[0];
    for (OPJ_UINT32 c = 0; c < image.numcomps; ++c) {
        const opj_image_comp_t& comp = image.comps[c];
        if (!comp.data || comp.dx != 1 || comp.dy != 1 || comp.w != first.w || comp.h != first.h ||
            comp.prec < 1 || comp.prec > 16)
            return false;
    }
    return true;
}

QImage ToImage(const opj_image_t& planes) {
    const int width = int(planes.comps[0].w);
    const int height = int(planes.comps[0].h);
    const OPJ_UINT32 n = planes.numcomps;
    const bool grey = n <= 2;
    const bool alpha = n == 2 || n == 4;
    const bool ycc = planes.color_space == OPJ_CLRSPC_SYCC && !grey;
    QImage image(width, height, QImage::Format_ARGB32);
    if (image.isNull())
        return image;
    const SampleScale s0(planes.comps[0]);
    const SampleScale s1(planes.comps[std::min<OPJ_UINT32>(1, n - 1)]);
    const SampleScale s2(planes.comps[std::min<OPJ_UINT32>(2, n - 1)]);
    const SampleScale sa(planes.comps[n - 1]);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x, ++i) {
            int r = s0(planes.comps[0].data[i]);
            int g = grey ? r : s1(planes.comps[1].data[i]);
            int b = grey ? r : s2(planes.comps[2].data[i]);
            if (ycc) {
                const int luma = r, cb = g - 128, cr = b - 128;
                r = std::clamp(luma + (1402 * cr) / 1000, 0, 255);
                g = std::clamp(luma - (344 * cb + 714 * cr) / 1000, 0, 255);
                b = std::clamp(luma + (1772 * cb) / 1000, 0, 255);
            }
            const int a = alpha ? sa(planes.comps[n - 1].data[i]) : 255;
            row[x] = qRgba(r, g, b, a);
        }
    }
    return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

bool Recognises(const QByteArray& head) {
    return StartsAsJp2File(head) || StartsAsCodestream(head);
}

bool HeaderWithinLimits(const QByteArray& bytes, const Limits& limits) {
    const std::optional<Jpeg2000Header> header = ReadJpeg2000Header(bytes);
    return header && WithinLimits(*header, limits);
}

QImage Decode(const QByteArray& bytes, const Limits& limits) {
    // Checked from the bytes before the decoder sees them: it sets up what the header asks.
    const std::optional<Jpeg2000Header> header = ReadJpeg2000Header(bytes);
    if (!header || !WithinLimits(*header, limits))
        return {};
    OpenJpeg::Codec codec(opj_create_decompress(header->jp2File ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec)
        return {};
    opj_set_info_handler(codec.get(), Silent, nullptr);
    opj_set_warning_handler(codec.get(), Silent, nullptr);
    opj_set_error_handler(codec.get(), Silent, nullptr);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters))
        return {};
    opj_codec_set_threads(codec.get(), 2);

    OpenJpeg::Stream stream = OpenJpeg::MemoryStream(bytes);
    if (!stream)
        return {};
    opj_image_t* read = nullptr;
    if (!opj_read_header(stream.get(), codec.get(), &read))
        return {};
    OpenJpeg::Image planes(read);
    if (!SameHeader(*planes, *header))
        return {};
    if (!opj_decode(codec.get(), stream.get(), planes.get()) ||
        !opj_end_decompress(codec.get(), stream.get()) || !UsableLayout(*planes))
        return {};
    return ToImage(*planes);
}

} // namespace Jpeg2000Decoder
