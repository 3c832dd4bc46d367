#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <limits>
#include <memory>
#include <mutex>

struct _RsvgHandle;

// An SVG or gzip-compressed SVG icon image, parsed once and drawn at whatever resolution it is
// placed at. It is read from memory with no base location, so it can never make the program
// read another file or a URL. Immutable once read; several threads may draw it at once.
class SvgImage {
public:
    // Whether the bytes look like an SVG document or a gzip stream (which may hold one).
    static bool Recognises(const QByteArray& bytes);

    // The document in `bytes`, or null for anything that is not a well-formed SVG with a
    // positive, finite size, that inflates past 32 MB, that the parser's limits on entities,
    // elements and references refuse, whose references form a cycle or a chain deeper than
    // 64, whose elements nest deeper than 128, or that takes more than two seconds to draw
    // small.
    static std::shared_ptr<const SvgImage> Read(const QByteArray& bytes);

    SvgImage(const SvgImage&) = delete;
    SvgImage& operator=(const SvgImage&) = delete;
    ~SvgImage();

    // The document's own area in its user units: its viewBox, else (0, 0, width, height).
    QRectF viewBox() const { return m_viewBox; }

    // The document drawn to fit a 256-pixel square, as a thumbnail of the image.
    const QImage& thumbnail() const { return m_thumbnail; }

    static constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();

    // The most pixels a drawing of the document may cover: at this area a drawing keeps to
    // about ten seconds (estimated from the thumbnail's, as the time grows with the area) and,
    // with filters or masks, the pictures they hold stay within 640 MB. A place larger than
    // this is drawn at this area and enlarged. kUnlimited for a document without filters or
    // masks whose thumbnail was drawn in under half a second.
    qint64 largestDrawing() const { return m_largestDrawing; }

    // The uncompressed document.
    const QByteArray& document() const { return m_document; }

    // The document drawn onto a transparent premultiplied ARGB32 image of `size` pixels, user
    // units mapped to pixels by `toPixels`.
    QImage Draw(QSize size, const QTransform& toPixels) const;

private:
    SvgImage(_RsvgHandle* handle, QByteArray document, QRectF viewBox);

    _RsvgHandle* m_handle;
    QByteArray m_document;
    QRectF m_viewBox;
    QImage m_thumbnail;
    qint64 m_largestDrawing = kUnlimited;
    // The library's handle is not safe to draw from two threads at once.
    mutable std::mutex m_drawing;
};
