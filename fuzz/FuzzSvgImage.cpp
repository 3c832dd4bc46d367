// Feeds arbitrary bytes to the SVG icon image reader (plain and gzip-compressed documents) and
// draws what it accepts, turned and scaled, as the renderer places it.
#include "imageio/SvgImage.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const auto image = SvgImage::Read(bytes);
    if (!image)
        return 0;
    // An accepted document always has a positive, finite area and a thumbnail of it.
    const QRectF area = image->viewBox();
    if (!(area.width() > 0.0) || !(area.height() > 0.0) || !std::isfinite(area.width()) ||
        !std::isfinite(area.height()) || image->thumbnail().isNull() ||
        image->thumbnail().width() > 256 || image->thumbnail().height() > 256)
        std::abort();
    const double fit = 64.0 / std::max(area.width(), area.height());
    const QTransform placed = QTransform::fromTranslate(-area.center().x(), -area.center().y()) *
                              QTransform::fromScale(fit, fit) * QTransform().rotate(33.0) *
                              QTransform::fromTranslate(32.0, 32.0);
    image->Draw(QSize(64, 64), placed);
    return 0;
}
