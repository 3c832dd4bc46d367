#include "imageio/ImageHelperSession.h"

#include "imageio/ImageSandbox.h"
#include "imageio/RasterDecoder.h"
#include "imageio/SvgDrawing.h"

#include <QBuffer>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace {

using namespace HelperMessages;

// The thumbnail an SVG document is first drawn as, and timed: how long it takes tells the
// parent how large it may be drawn later.
constexpr int kTrialSide = 256;
// Processor time for a first look and for a later drawing; the parent's deadlines are 2 s and
// 10 s of wall time, so these only matter should it fail to end a helper.
constexpr int kOpenSeconds = 3;
constexpr int kDrawSeconds = 12;

ImageHelperSession::Answer Answered(Outcome outcome, QImage picture) {
    ImageHelperSession::Answer answer;
    if (picture.isNull())
        return answer;
    answer.header.outcome = outcome;
    answer.header.width = picture.width();
    answer.header.height = picture.height();
    answer.picture = std::move(picture);
    return answer;
}

bool ReadAll(int socket, char* data, size_t length) {
    while (length > 0) {
        const ssize_t got = read(socket, data, length);
        if (got <= 0)
            return false;
        data += got;
        length -= size_t(got);
    }
    return true;
}

bool WriteAll(int socket, const char* data, size_t length) {
    while (length > 0) {
        const ssize_t put = write(socket, data, length);
        if (put <= 0)
            return false;
        data += put;
        length -= size_t(put);
    }
    return true;
}

bool Send(int socket, const ImageHelperSession::Answer& answer) {
    if (!WriteAll(socket, reinterpret_cast<const char*>(&answer.header), sizeof answer.header))
        return false;
    // Rows of 32-bit pixels have no padding: the picture goes in one piece.
    const QImage& picture = answer.picture;
    return WriteAll(socket, reinterpret_cast<const char*>(picture.constBits()),
                    size_t(picture.sizeInBytes()));
}

} // namespace

ImageHelperSession::ImageHelperSession() = default;
ImageHelperSession::~ImageHelperSession() = default;

ImageHelperSession::Answer ImageHelperSession::Open(Request kind, const QByteArray& bytes) {
    m_document.reset();
    if (kind == Request::OpenRaster) {
        QImage picture = RasterDecoder::Decode(bytes);
        if (!picture.isNull() && picture.format() != QImage::Format_ARGB32_Premultiplied)
            picture.convertTo(QImage::Format_ARGB32_Premultiplied);
        return Answered(Outcome::Raster, std::move(picture));
    }
    std::unique_ptr<SvgDrawing> document = SvgDrawing::Open(bytes);
    if (!document)
        return {};
    // A trial drawing at thumbnail size: a document that fails to draw is refused now rather
    // than each time it is placed.
    const QRectF area = document->viewBox();
    const double fit = kTrialSide / std::max(area.width(), area.height());
    const QSize trial(std::max(1, int(std::ceil(area.width() * fit))),
                      std::max(1, int(std::ceil(area.height() * fit))));
    const QTransform toTrial =
        QTransform::fromTranslate(-area.x(), -area.y()) * QTransform::fromScale(fit, fit);
    const auto start = std::chrono::steady_clock::now();
    Answer answer = Answered(Outcome::Vector, document->Draw(trial, toTrial));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    if (answer.picture.isNull())
        return answer;
    answer.header.viewBox[0] = area.x();
    answer.header.viewBox[1] = area.y();
    answer.header.viewBox[2] = area.width();
    answer.header.viewBox[3] = area.height();
    answer.header.trialSeconds = took.count();
    m_document = std::move(document);
    return answer;
}

ImageHelperSession::Answer ImageHelperSession::Draw(const DrawArguments& arguments) {
    const QSize size(arguments.width, arguments.height);
    if (!m_document || size.isEmpty())
        return {};
    const QTransform toPixels(arguments.m11, arguments.m12, arguments.m21, arguments.m22,
                              arguments.dx, arguments.dy);
    return Answered(Outcome::Drawn, m_document->Draw(size, toPixels));
}

void PrepareImageDecoders() {
    // Qt's reader asks every image plugin whether it knows the data, loading each the first
    // time.
    QImage pixel(1, 1, QImage::Format_ARGB32_Premultiplied);
    pixel.fill(Qt::transparent);
    QByteArray png;
    QBuffer buffer(&png);
    if (buffer.open(QIODevice::WriteOnly) && pixel.save(&buffer, "PNG"))
        RasterDecoder::Decode(png);
    const std::unique_ptr<SvgDrawing> square =
        SvgDrawing::Open("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 1 1\"><rect "
                         "width=\"1\" height=\"1\"/></svg>");
    if (square)
        square->Draw(QSize(1, 1), QTransform());
}

int ServeImageRequests(int socket) {
    if (!WriteAll(socket, reinterpret_cast<const char*>(&kReady), sizeof kReady))
        return 1;
    ImageHelperSession session;
    RequestHeader header;
    while (ReadAll(socket, reinterpret_cast<char*>(&header), sizeof header)) {
        if (header.magic != kMagic || header.length > kLargestRequest)
            return 1;
        QByteArray payload(qsizetype(header.length), Qt::Uninitialized);
        if (!ReadAll(socket, payload.data(), size_t(payload.size())))
            return 1;
        ImageHelperSession::Answer answer;
        switch (header.kind) {
        case Request::OpenRaster:
        case Request::OpenVector:
            ImageSandbox::AllowProcessorSeconds(kOpenSeconds);
            answer = session.Open(header.kind, payload);
            break;
        case Request::Draw: {
            if (payload.size() != qsizetype(sizeof(DrawArguments)))
                return 1;
            DrawArguments arguments;
            std::memcpy(&arguments, payload.constData(), sizeof arguments);
            ImageSandbox::AllowProcessorSeconds(kDrawSeconds);
            answer = session.Draw(arguments);
            break;
        }
        default:
            return 1;
        }
        if (!Send(socket, answer))
            return 1;
    }
    return 0;
}
