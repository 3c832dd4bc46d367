// Feeds arbitrary bytes to the SVG icon image reader (plain and gzip-compressed documents) as
// the editor and the image helper process run it, in process: the checks made before a helper
// sees a document, then the helper's session, which opens it and draws what it accepts,
// turned and scaled, as the renderer places it.
#include "imageio/ImageHelperSession.h"
#include "imageio/SvgImage.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray document = SvgImage::CheckedDocument(bytes);
    if (document.isEmpty())
        return 0;
    using namespace HelperMessages;
    ImageHelperSession session;
    const ImageHelperSession::Answer opened = session.Open(Request::OpenVector, document);
    if (opened.picture.isNull())
        return 0;
    // An accepted document always has a positive, finite area and a thumbnail of it.
    const QRectF area(opened.header.viewBox[0], opened.header.viewBox[1], opened.header.viewBox[2],
                      opened.header.viewBox[3]);
    if (!(area.width() > 0.0) || !(area.height() > 0.0) || !std::isfinite(area.width()) ||
        !std::isfinite(area.height()) || opened.picture.width() > 257 ||
        opened.picture.height() > 257)
        std::abort();
    const double fit = 64.0 / std::max(area.width(), area.height());
    const QTransform placed = QTransform::fromTranslate(-area.center().x(), -area.center().y()) *
                              QTransform::fromScale(fit, fit) * QTransform().rotate(33.0) *
                              QTransform::fromTranslate(32.0, 32.0);
    DrawArguments arguments{64,           64,           placed.m11(), placed.m12(),
                            placed.m21(), placed.m22(), placed.dx(),  placed.dy()};
    // A drawing is of the size asked for, or refused.
    const QImage drawn = session.Draw(arguments).picture;
    if (!drawn.isNull() && drawn.size() != QSize(64, 64))
        std::abort();
    return 0;
}
