#include "imageio/SvgImage.h"

#include "imageio/SvgStructure.h"

#include <cairo.h>
#include <zlib.h>
// GLib names a structure member after Qt's `signals` keyword macro.
#pragma push_macro("signals")
#undef signals
#include <librsvg/rsvg.h>
#pragma pop_macro("signals")

#include <algorithm>
#include <chrono>
#include <cmath>
#include <future>
#include <thread>

namespace {

constexpr qsizetype kLargestDocument = qsizetype(32) << 20;
// A document that takes longer than this to draw at the size of a thumbnail is refused: its
// drawing at full size would keep the editor waiting far longer. The library cannot be
// interrupted, so the trial drawing runs on a thread of its own that is left to finish alone.
constexpr auto kLongestDraw = std::chrono::seconds(2);
constexpr int kTrialSide = 256;
// A drawing at full size should take no longer than this. Its time grows with the area drawn,
// so the trial's time tells the largest area that keeps within it.
constexpr double kDrawingBudgetSeconds = 10.0;
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

bool Positive(double value) {
    return std::isfinite(value) && value > 0.0;
}

// Whether the root element carries a viewBox attribute. The library ignores one it cannot use
// and falls back to the width and height, but a document asking for an empty, negative or
// undefined area is broken, not merely unsized.
bool RootDeclaresViewBox(const QByteArray& document) {
    const qsizetype root = document.indexOf("<svg");
    const qsizetype end = root < 0 ? -1 : document.indexOf('>', root);
    return end >= 0 && document.mid(root, end - root).contains("viewBox");
}

// The document's area in user units, or an empty rectangle when it has no usable size.
QRectF DocumentArea(RsvgHandle* handle, bool viewBoxDeclared) {
    gboolean hasWidth = false, hasHeight = false, hasViewBox = false;
    RsvgLength width, height;
    RsvgRectangle viewBox;
    rsvg_handle_get_intrinsic_dimensions(handle, &hasWidth, &width, &hasHeight, &height,
                                         &hasViewBox, &viewBox);
    if (hasViewBox) {
        if (!std::isfinite(viewBox.x) || !std::isfinite(viewBox.y) || !Positive(viewBox.width) ||
            !Positive(viewBox.height))
            return {};
        return QRectF(viewBox.x, viewBox.y, viewBox.width, viewBox.height);
    }
    double w = 0.0, h = 0.0;
    if (viewBoxDeclared || !rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h) ||
        !Positive(w) || !Positive(h))
        return {};
    return QRectF(0.0, 0.0, w, h);
}

} // namespace

bool SvgImage::Recognises(const QByteArray& bytes) {
    if (IsGzip(bytes))
        return true;
    QByteArray start = bytes.left(4096);
    if (start.startsWith("\xEF\xBB\xBF")) // a UTF-8 byte order mark
        start.remove(0, 3);
    return start.contains("<svg") && start.trimmed().startsWith('<');
}

std::shared_ptr<const SvgImage> SvgImage::Read(const QByteArray& bytes) {
    QByteArray document = IsGzip(bytes) ? Inflate(bytes) : bytes;
    // Kept for the image's whole life, so never the caller's raw buffer.
    document.detach();
    // A document inside a second gzip layer would be inflated again by the library, unbounded.
    if (document.isEmpty() || document.size() > kLargestDocument || IsGzip(document))
        return nullptr;
    // The library's own limits do not keep a deep chain of references from overflowing its
    // stack.
    const SvgStructure structure = SvgStructure::Of(document);
    if (!structure.drawable)
        return nullptr;
    // No base file: every reference to another file or a URL fails to resolve. Without the
    // unlimited flag the XML parser keeps its limits on entity expansion and nesting.
    GInputStream* stream =
        g_memory_input_stream_new_from_data(document.constData(), document.size(), nullptr);
    GError* error = nullptr;
    RsvgHandle* handle =
        rsvg_handle_new_from_stream_sync(stream, nullptr, RSVG_HANDLE_FLAGS_NONE, nullptr, &error);
    g_object_unref(stream);
    if (!handle) {
        g_clear_error(&error);
        return nullptr;
    }
    rsvg_handle_set_dpi(handle, 96.0);
    const QRectF area = DocumentArea(handle, RootDeclaresViewBox(document));
    if (area.isEmpty()) {
        g_object_unref(handle);
        return nullptr;
    }
    std::shared_ptr<SvgImage> image(new SvgImage(handle, document, area));
    // A trial drawing at thumbnail size: a document that fails to draw or draws far too slowly
    // is refused now rather than each time it is placed.
    const double fit = kTrialSide / std::max(area.width(), area.height());
    const QSize trial(std::max(1, int(std::ceil(area.width() * fit))),
                      std::max(1, int(std::ceil(area.height() * fit))));
    const QTransform toTrial =
        QTransform::fromTranslate(-area.x(), -area.y()) * QTransform::fromScale(fit, fit);
    struct Trial {
        QImage picture;
        double seconds;
    };
    auto drawing = std::make_shared<std::promise<Trial>>();
    std::future<Trial> drawn = drawing->get_future();
    std::thread([image, drawing, trial, toTrial] {
        const auto start = std::chrono::steady_clock::now();
        QImage picture = image->Draw(trial, toTrial);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        drawing->set_value({std::move(picture), took.count()});
    }).detach();
    if (drawn.wait_for(kLongestDraw) != std::future_status::ready)
        return nullptr;
    const Trial result = drawn.get();
    if (result.picture.isNull())
        return nullptr;
    image->m_thumbnail = result.picture;
    image->m_largestDrawing =
        LargestDrawing(structure, result.seconds, qint64(trial.width()) * trial.height());
    return image;
}

SvgImage::SvgImage(_RsvgHandle* handle, QByteArray document, QRectF viewBox)
    : m_handle(handle), m_document(std::move(document)), m_viewBox(viewBox) {}

SvgImage::~SvgImage() {
    g_object_unref(m_handle);
}

QImage SvgImage::Draw(QSize size, const QTransform& toPixels) const {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::transparent);
    // Premultiplied ARGB32 in native byte order is the same memory as cairo's ARGB32.
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(image.bits(), CAIRO_FORMAT_ARGB32, image.width(),
                                            image.height(), int(image.bytesPerLine()));
    cairo_t* cairo = cairo_create(surface);
    cairo_matrix_t matrix;
    cairo_matrix_init(&matrix, toPixels.m11(), toPixels.m12(), toPixels.m21(), toPixels.m22(),
                      toPixels.dx(), toPixels.dy());
    cairo_set_matrix(cairo, &matrix);
    // The viewport is the document's own area, so its user units are the units drawn in.
    const RsvgRectangle viewport{m_viewBox.x(), m_viewBox.y(), m_viewBox.width(),
                                 m_viewBox.height()};
    bool drawn = false;
    {
        const std::lock_guard lock(m_drawing);
        GError* error = nullptr;
        drawn = rsvg_handle_render_document(m_handle, cairo, &viewport, &error);
        g_clear_error(&error);
    }
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return drawn ? image : QImage();
}
