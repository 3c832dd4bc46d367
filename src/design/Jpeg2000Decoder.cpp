#include "design/Jpeg2000Decoder.h"

#include "design/OpenJpegHandles.h"
#include <QFile>

#include <algorithm>

namespace Jpeg2000Decoder {
namespace {

const QByteArray kJp2Signature("\x00\x00\x00\x0cjP  \r\n\x87\n", 12);
const QByteArray kCodestreamStart("\xff\x4f\xff\x51", 4);

void Silent(const char*, void*) {}

// One component sample scaled to 0..255 whatever its precision and sign.
struct SampleScale {
    explicit SampleScale(const opj_image_comp_t& c)
        : offset(c.sgnd ? (1 << (c.prec - 1)) : 0), maximum((1 << c.prec) - 1) {}
    int operator()(int v) const { return std::clamp((v + offset) * 255 / maximum, 0, 255); }
    int offset;
    int maximum;
};

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

QImage Decode(const QString& path, int maxSide, qint64 maxArea) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray head = file.read(kJp2Signature.size());
    file.close();
    if (!Recognises(head))
        return {};
    const OPJ_CODEC_FORMAT format = head.startsWith(kJp2Signature) ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K;

    OpenJpeg::Codec codec(opj_create_decompress(format));
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

    const QByteArray localPath = QFile::encodeName(path);
    OpenJpeg::Stream stream(opj_stream_create_default_file_stream(localPath.constData(), OPJ_TRUE));
    if (!stream)
        return {};
    opj_image_t* header = nullptr;
    if (!opj_read_header(stream.get(), codec.get(), &header))
        return {};
    OpenJpeg::Image planes(header);
    // Refuse absurd sizes before the decoder allocates anything for them.
    const qint64 width = qint64(planes->x1) - qint64(planes->x0);
    const qint64 height = qint64(planes->y1) - qint64(planes->y0);
    if (width < 1 || height < 1 || width > maxSide || height > maxSide || width * height > maxArea)
        return {};
    if (!opj_decode(codec.get(), stream.get(), planes.get()) ||
        !opj_end_decompress(codec.get(), stream.get()) || !UsableLayout(*planes))
        return {};
    return ToImage(*planes);
}

} // namespace Jpeg2000Decoder
