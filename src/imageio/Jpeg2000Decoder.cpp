#include "imageio/Jpeg2000Decoder.h"

#include "imageio/OpenJpegMemoryStream.h"

#include <QtEndian>

#include <algorithm>

namespace Jpeg2000Decoder {
namespace {

const QByteArray kJp2Signature("\x00\x00\x00\x0cjP  \r\n\x87\n", 12);
const QByteArray kCodestreamStart("\xff\x4f\xff\x51", 4);

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

// The contents of the first box of `type` among the JP2 boxes in bytes [from, to); a null
// view when there is none or the boxes are damaged.
QByteArrayView FindBox(const QByteArray& bytes, qsizetype from, qsizetype to, const char* type) {
    qsizetype at = from;
    while (to - at >= 8) {
        // A length of 1 means a 64-bit length follows the type; 0 means "to the end".
        const qint64 length = qFromBigEndian<quint32>(bytes.constData() + at);
        const qsizetype headerSize = length == 1 ? 16 : 8;
        if (to - at < headerSize)
            return {};
        const qint64 boxLength =
            length == 0
                ? to - at
                : (length == 1 ? qFromBigEndian<qint64>(bytes.constData() + at + 8) : length);
        if (boxLength < headerSize || boxLength > to - at)
            return {};
        if (QByteArrayView(bytes.constData() + at + 4, 4) == QByteArrayView(type, 4))
            return QByteArrayView(bytes.constData() + at + headerSize, boxLength - headerSize);
        at += boxLength;
    }
    return {};
}

// The number of channels a JP2 palette box expands the picture to, 0 when there is none.
// The palette is applied after decoding, so its size must be known from the boxes.
int PaletteChannels(const QByteArray& bytes) {
    const QByteArrayView header = FindBox(bytes, 0, bytes.size(), "jp2h");
    if (header.isNull())
        return 0;
    const qsizetype headerStart = header.constData() - bytes.constData();
    const QByteArrayView palette = FindBox(bytes, headerStart, headerStart + header.size(), "pclr");
    // Entries (2 bytes), then the channel count.
    return palette.size() >= 3 ? quint8(palette[2]) : 0;
}

// Everything the decoder will allocate follows from the header: OpenJPEG holds every sample
// in 32 bits whatever its precision, one plane per component at the picture's size. Only
// layouts the renderer draws pass.
bool HeaderWithinLimits(const opj_image_t& header, int paletteChannels, const Limits& limits) {
    const qint64 width = qint64(header.x1) - qint64(header.x0);
    const qint64 height = qint64(header.y1) - qint64(header.y0);
    if (width < 1 || height < 1 || width > limits.maxSide || height > limits.maxSide ||
        width * height > limits.maxArea)
        return false;
    if (header.numcomps < 1 || header.numcomps > 4 || paletteChannels > 4)
        return false;
    for (OPJ_UINT32 c = 0; c < header.numcomps; ++c) {
        const opj_image_comp_t& comp = header.comps[c];
        if (comp.dx != 1 || comp.dy != 1 || comp.prec < 1 || comp.prec > 16)
            return false;
    }
    // A palette replaces the one index plane by its channels once decoded.
    const qint64 planes = std::max<qint64>(header.numcomps, paletteChannels);
    return planes * width * height * qint64(sizeof(OPJ_INT32)) <= limits.maxPlaneBytes;
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
    return head.startsWith(kJp2Signature) || head.startsWith(kCodestreamStart);
}

QImage Decode(const QByteArray& bytes, const Limits& limits) {
    if (!Recognises(bytes))
        return {};
    const bool boxed = bytes.startsWith(kJp2Signature);
    OpenJpeg::Codec codec(opj_create_decompress(boxed ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
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
    opj_image_t* header = nullptr;
    if (!opj_read_header(stream.get(), codec.get(), &header))
        return {};
    OpenJpeg::Image planes(header);
    if (!HeaderWithinLimits(*planes, boxed ? PaletteChannels(bytes) : 0, limits))
        return {};
    if (!opj_decode(codec.get(), stream.get(), planes.get()) ||
        !opj_end_decompress(codec.get(), stream.get()) || !UsableLayout(*planes))
        return {};
    return ToImage(*planes);
}

} // namespace Jpeg2000Decoder
