#include "imageio/IconImageFile.h"

#include "imageio/ImageHelperProcess.h"
#include "imageio/RasterDecoder.h"
#include "imageio/SvgImage.h"
#include "support/OrdinaryFile.h"

namespace {

// No image file is larger than the picture it may decode to.
constexpr qint64 kLargestFileBytes = qint64(1) << 30;

// 72 dots per inch: one pixel per unit.
constexpr int kDotsPerMeterAt72Dpi = 2835;

QImage DecodedInHelper(const QByteArray& bytes) {
    if (!RasterDecoder::PassesHeaderCheck(bytes))
        return {};
    std::unique_ptr<ImageHelperProcess> helper = ImageHelperProcess::Start();
    if (!helper)
        return {};
    const auto deadline = std::chrono::steady_clock::now() + SvgImage::kFirstLook;
    const auto raster = [](const HelperMessages::ReplyHeader& header) {
        return header.outcome == HelperMessages::Outcome::Raster;
    };
    std::optional<ImageHelperProcess::Answer> decoded =
        helper->Exchange(HelperMessages::Request::OpenRaster, bytes, deadline, raster);
    if (!decoded)
        return {};
    QImage image = std::move(decoded->picture);
    image.setDotsPerMeterX(kDotsPerMeterAt72Dpi);
    image.setDotsPerMeterY(kDotsPerMeterAt72Dpi);
    return image;
}

} // namespace

QImage DecodeIconImage(const QByteArray& bytes, std::shared_ptr<const SvgImage>* vector) {
    if (!SvgImage::Recognises(bytes))
        return DecodedInHelper(bytes);
    std::shared_ptr<const SvgImage> svg = SvgImage::Read(bytes);
    if (!svg)
        return {};
    if (vector)
        *vector = svg;
    return svg->thumbnail();
}

QImage LoadIconImage(const QString& path, std::shared_ptr<const SvgImage>* vector) {
    QByteArray bytes;
    if (!ReadOrdinaryFile(path, kLargestFileBytes, bytes))
        return {};
    return DecodeIconImage(bytes, vector);
}
