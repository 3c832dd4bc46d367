// Feeds arbitrary bytes to the icon image loader, which reads every image a user chooses or
// drops: Qt's readers behind the structure checks, and the JPEG 2000 decoder.
#include "imageio/IconImageFile.h"

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
    const QImage image = DecodeIconImage(bytes);
    // A loaded image is always within the size limits, in the form the renderer draws.
    if (!image.isNull() && (image.width() > 16384 || image.height() > 16384 ||
                            qint64(image.width()) * image.height() > qint64(10000) * 10000 ||
                            image.format() != QImage::Format_ARGB32_Premultiplied))
        std::abort();
    return 0;
}
