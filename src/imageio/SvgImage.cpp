#include "imageio/SvgImage.h"

#include "imageio/ImageHelperProcess.h"
#include "imageio/SvgStructure.h"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr qsizetype kLargestDocument = qsizetype(32) << 20;
// The helper draws the thumbnail to fit this square.
constexpr int kTrialSide = 256;
// A drawing at full size should take no longer than this. Its time grows with the area drawn,
// so the trial's time tells the largest area that keeps within it. Half the helper's deadline:
// the pace of one trial varies with what else the machine is doing.
constexpr double kDrawingBudgetSeconds = 5.0;
// A document without filters or masks whose trial is quicker than this is drawn at any size:
// its time goes into its shapes more than into its area.
constexpr double kQuickTrialSeconds = 0.5;
// What the pictures that filters and masks hold while they draw may take together.
constexpr qint64 kEffectsMemory = qint64(640) << 20;

// The largest area in pixels that a drawing of the document may cover, from what it holds
// and how long the trial drawing of `trialPixels` took.
qint64 LargestDrawing(const SvgStructure& structure, double trialSeconds, qint64 trialPixels) {
    if (!structure.effects && trialSeconds < kQuickTrialSeconds)
        return SvgImage::kUnlimited;
    qint64 largest =
        qint64(double(trialPixels) * kDrawingBudgetSeconds / std::max(trialSeconds, 1e-3));
    if (structure.effects)
        largest = std::min(largest, kEffectsMemory / (4 * qint64(structure.surfaces)));
    return std::max(largest, trialPixels);
}

bool IsGzip(const QByteArray& bytes) {
    return bytes.size() >= 2 && uchar(bytes[0]) == 0x1f && uchar(bytes[1]) == 0x8b;
}

// The gzip stream inflated, or an empty array when it is corrupt or inflates past the limit:
// inflated piece by piece, so a small bomb never grows past the limit in memory.
QByteArray Inflate(const QByteArray& compressed) {
    z_stream stream{};
    if (inflateInit2(&stream, 16 + MAX_WBITS) != Z_OK)
        return {};
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(compressed.constData()));
    stream.avail_in = uInt(compressed.size());
    QByteArray inflated;
    char piece[64 * 1024];
    int status = Z_OK;
    while (status == Z_OK) {
        stream.next_out = reinterpret_cast<Bytef*>(piece);
        stream.avail_out = sizeof piece;
        status = inflate(&stream, Z_NO_FLUSH);
        const qsizetype produced = qsizetype(sizeof piece - stream.avail_out);
        if ((status != Z_OK && status != Z_STREAM_END) ||
            inflated.size() + produced > kLargestDocument) {
            status = Z_DATA_ERROR;
            break;
        }
        inflated.append(piece, produced);
        if (status == Z_OK && produced == 0 && stream.avail_in == 0)
            status = Z_DATA_ERROR; // truncated
    }
    inflateEnd(&stream);
    return status == Z_STREAM_END ? inflated : QByteArray();
}

// The document inflated and checked with its structure, or an empty array when it is refused.
QByteArray Checked(const QByteArray& bytes, SvgStructure& structure) {
    QByteArray document = IsGzip(bytes) ? Inflate(bytes) : bytes;
    // A document inside a second gzip layer would be inflated again by the library, unbounded.
    if (document.isEmpty() || document.size() > kLargestDocument || IsGzip(document))
        return {};
    // The library's own limits do not keep a deep chain of references from overflowing its
    // stack.
    structure = SvgStructure::Of(document);
    return structure.drawable ? document : QByteArray();
}

using namespace HelperMessages;

} // namespace

bool SvgImage::Recognises(const QByteArray& bytes) {
    if (IsGzip(bytes))
        return true;
    QByteArray start = bytes.left(4096);
    if (start.startsWith("\xEF\xBB\xBF")) // a UTF-8 byte order mark
        start.remove(0, 3);
    return start.contains("<svg") && start.trimmed().startsWith('<');
}

QByteArray SvgImage::CheckedDocument(const QByteArray& bytes) {
    SvgStructure structure;
    return Checked(bytes, structure);
}

std::shared_ptr<const SvgImage> SvgImage::Read(const QByteArray& bytes, DocumentOrigin origin) {
    SvgStructure structure;
    QByteArray document = Checked(bytes, structure);
    if (document.isEmpty())
        return nullptr;
    // Kept for the image's whole life, so never the caller's raw buffer.
    document.detach();
    std::unique_ptr<ImageHelperProcess> helper = ImageHelperProcess::Start(origin);
    if (!helper)
        return nullptr;
    const auto deadline = std::chrono::steady_clock::now() + kFirstLook;
    const auto thumbnailSized = [](const ReplyHeader& header) {
        const QRectF area(header.viewBox[0], header.viewBox[1], header.viewBox[2],
                          header.viewBox[3]);
        return header.outcome == Outcome::Vector && header.width <= kTrialSide + 1 &&
               header.height <= kTrialSide + 1 && std::isfinite(area.x()) &&
               std::isfinite(area.y()) && std::isfinite(area.width()) &&
               std::isfinite(area.height()) && area.width() > 0 && area.height() > 0 &&
               std::isfinite(header.trialSeconds) && header.trialSeconds >= 0;
    };
    std::optional<ImageHelperProcess::Answer> opened =
        helper->Exchange(Request::OpenVector, document, deadline, thumbnailSized);
    if (!opened)
        return nullptr;
    const ReplyHeader& header = opened->header;
    const QRectF area(header.viewBox[0], header.viewBox[1], header.viewBox[2], header.viewBox[3]);
    std::shared_ptr<SvgImage> image(new SvgImage(
        std::move(document), area, std::move(opened->picture), std::move(helper), origin));
    image->m_largestDrawing =
        LargestDrawing(structure, header.trialSeconds, qint64(header.width) * header.height);
    return image;
}

SvgImage::SvgImage(QByteArray document, QRectF viewBox, QImage thumbnail,
                   std::unique_ptr<ImageHelperProcess> helper, DocumentOrigin origin)
    : m_document(std::move(document)), m_viewBox(viewBox), m_thumbnail(std::move(thumbnail)),
      m_helper(std::move(helper)), m_origin(origin) {}

SvgImage::~SvgImage() {
    if (m_origin == DocumentOrigin::BuiltIn)
        ImageHelperProcess::KeepForBuiltIn(std::move(m_helper));
}

QImage SvgImage::Draw(QSize size, const QTransform& toPixels) const {
    if (size.isEmpty())
        return {};
    // The deadline is this drawing's own: it starts once another thread's drawing is done
    // and a replaced helper is ready.
    const std::lock_guard lock(m_drawing);
    // A helper lost to an earlier refusal is replaced, with the document opened again.
    if (!m_helper) {
        m_helper = ImageHelperProcess::Start(m_origin);
        const auto opened = [](const ReplyHeader& header) {
            return header.outcome == Outcome::Vector;
        };
        if (m_helper &&
            !m_helper->Exchange(Request::OpenVector, m_document,
                                std::chrono::steady_clock::now() + kLongestDrawing, opened))
            m_helper.reset();
    }
    const auto deadline = std::chrono::steady_clock::now() + kLongestDrawing;
    DrawArguments arguments;
    arguments.width = size.width();
    arguments.height = size.height();
    arguments.m11 = toPixels.m11();
    arguments.m12 = toPixels.m12();
    arguments.m21 = toPixels.m21();
    arguments.m22 = toPixels.m22();
    arguments.dx = toPixels.dx();
    arguments.dy = toPixels.dy();
    QByteArray payload(sizeof arguments, Qt::Uninitialized);
    std::memcpy(payload.data(), &arguments, sizeof arguments);
    const auto asked = [size](const ReplyHeader& header) {
        return header.outcome == Outcome::Drawn && QSize(header.width, header.height) == size;
    };
    std::optional<ImageHelperProcess::Answer> drawn;
    if (m_helper)
        drawn = m_helper->Exchange(Request::Draw, payload, deadline, asked);
    if (!drawn) {
        m_helper.reset();
        ++m_refusedDrawings;
        return {};
    }
    return std::move(drawn->picture);
}
