#include "export/Jpeg2000Encoder.h"

#include "imageio/OpenJpegHandles.h"

#include <algorithm>
#include <cstring>

namespace Jpeg2000Encoder {

namespace {

constexpr int MaxResolutions = 6;
constexpr int EncoderThreads = 2;
constexpr qint64 MinimumThreadedPixels = 128 * 128;
// Signal-to-noise ratio of the lowest and of the highest lossy quality, in decibels.
constexpr float LowestPsnr = 25.0f;
constexpr float HighestPsnr = 50.0f;

// The encoder writes forwards, skips the box headers it fills in later and seeks back to
// them, so the memory stream keeps a position of its own.
struct MemoryStream {
    QByteArray data;
    qint64 position = 0;

    void Reach(qint64 end) {
        if (end > data.size())
            data.resize(qsizetype(end), '\0');
    }
};

OPJ_SIZE_T Write(void* buffer, OPJ_SIZE_T size, void* user) {
    auto* stream = static_cast<MemoryStream*>(user);
    stream->Reach(stream->position + qint64(size));
    std::memcpy(stream->data.data() + stream->position, buffer, size);
    stream->position += qint64(size);
    return size;
}

OPJ_OFF_T Skip(OPJ_OFF_T offset, void* user) {
    auto* stream = static_cast<MemoryStream*>(user);
    if (stream->position + offset < 0)
        return -1;
    stream->position += offset;
    stream->Reach(stream->position);
    return offset;
}

OPJ_BOOL Seek(OPJ_OFF_T offset, void* user) {
    auto* stream = static_cast<MemoryStream*>(user);
    if (offset < 0)
        return OPJ_FALSE;
    stream->position = offset;
    stream->Reach(offset);
    return OPJ_TRUE;
}

bool HasTransparency(const QImage& image) {
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            if (qAlpha(row[x]) != 255)
                return true;
        }
    }
    return false;
}

// Straight colour (and alpha) as one plane per component.
OpenJpeg::Image Planes(const QImage& image, bool alpha) {
    const int components = alpha ? 4 : 3;
    opj_image_cmptparm_t parameters[4];
    std::memset(parameters, 0, sizeof parameters);
    for (int c = 0; c < components; ++c) {
        parameters[c].dx = parameters[c].dy = 1;
        parameters[c].w = OPJ_UINT32(image.width());
        parameters[c].h = OPJ_UINT32(image.height());
        parameters[c].prec = 8;
        parameters[c].sgnd = 0;
    }
    OpenJpeg::Image planes(opj_image_create(OPJ_UINT32(components), parameters, OPJ_CLRSPC_SRGB));
    if (!planes)
        return nullptr;
    planes->x0 = planes->y0 = 0;
    planes->x1 = OPJ_UINT32(image.width());
    planes->y1 = OPJ_UINT32(image.height());
    if (alpha)
        planes->comps[3].alpha = 1;

    std::size_t i = 0;
    const int width = image.width();
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < width; ++x, ++i) {
            const QRgb p = qAlpha(row[x]) == 255 ? row[x] : qUnpremultiply(row[x]);
            planes->comps[0].data[i] = qRed(p);
            planes->comps[1].data[i] = qGreen(p);
            planes->comps[2].data[i] = qBlue(p);
            if (alpha)
                planes->comps[3].data[i] = qAlpha(p);
        }
    }
    return planes;
}

void SetQuality(opj_cparameters_t& parameters, double compressionFactor) {
    parameters.tcp_numlayers = 1;
    if (compressionFactor >= 1.0) {
        parameters.irreversible = 0;
        parameters.cp_disto_alloc = 1;
        parameters.tcp_rates[0] = 0.0f; // lossless
        return;
    }
    const float factor = float(std::clamp(compressionFactor, 0.0, 1.0));
    parameters.irreversible = 1;
    parameters.cp_fixed_quality = 1;
    parameters.tcp_distoratio[0] = LowestPsnr + (HighestPsnr - LowestPsnr) * factor;
}

} // namespace

QByteArray Encode(const QImage& image, double compressionFactor) {
    if (image.isNull())
        return {};
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    OpenJpeg::Image planes = Planes(pixels, HasTransparency(pixels));
    if (!planes)
        return {};

    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    SetQuality(parameters, compressionFactor);
    parameters.tcp_mct = 1; // decorrelate red, green and blue
    // Every resolution level halves the picture; the smallest must keep at least a pixel.
    int resolutions = 1;
    while (resolutions < MaxResolutions &&
           (1 << resolutions) <= std::min(pixels.width(), pixels.height()))
        ++resolutions;
    parameters.numresolution = resolutions;

    OpenJpeg::Codec codec(opj_create_compress(OPJ_CODEC_JP2));
    if (!codec || !opj_setup_encoder(codec.get(), &parameters, planes.get()))
        return {};
    // Starting the worker threads costs more than they save on small images.
    if (qint64(pixels.width()) * pixels.height() >= MinimumThreadedPixels)
        opj_codec_set_threads(codec.get(), EncoderThreads);

    MemoryStream memory;
    OpenJpeg::Stream stream(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_FALSE));
    if (!stream)
        return {};
    opj_stream_set_user_data(stream.get(), &memory, nullptr);
    opj_stream_set_write_function(stream.get(), Write);
    opj_stream_set_skip_function(stream.get(), Skip);
    opj_stream_set_seek_function(stream.get(), Seek);

    if (!opj_start_compress(codec.get(), planes.get(), stream.get()) ||
        !opj_encode(codec.get(), stream.get()) || !opj_end_compress(codec.get(), stream.get()))
        return {};
    return memory.data;
}

} // namespace Jpeg2000Encoder
