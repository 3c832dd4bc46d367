// Feeds arbitrary bytes to the icon image loader's decoders as the image helper process runs
// them (the checks made before a helper is asked, then the helper's own session, in process
// so that the fuzzer sees its coverage): Qt's readers behind the structure checks, the JPEG
// 2000 decoder and the SVG reader.
#include "imageio/ImageHelperSession.h"
#include "imageio/RasterDecoder.h"
#include "imageio/SvgImage.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt finds its image format plugins through the application object.
    static QCoreApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    using HelperMessages::Request;
    ImageHelperSession session;
    ImageHelperSession::Answer answer;
    if (SvgImage::Recognises(bytes)) {
        const QByteArray document = SvgImage::CheckedDocument(bytes);
        if (!document.isEmpty())
            answer = session.Open(Request::OpenVector, document);
    } else if (RasterDecoder::PassesHeaderCheck(bytes)) {
        answer = session.Open(Request::OpenRaster, bytes);
    }
    // An answered image is always within the size limits, in the form the renderer draws, and
    // of the size its header tells the parent.
    const QImage& image = answer.picture;
    if (!image.isNull() && (!RasterDecoder::WithinSizeLimits(image.size()) ||
                            image.format() != QImage::Format_ARGB32_Premultiplied ||
                            image.size() != QSize(answer.header.width, answer.header.height)))
        std::abort();
    return 0;
}
