#pragma once

#include "imageio/DocumentOrigin.h"

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <atomic>
#include <chrono>
#include <limits>
#include <memory>
#include <mutex>

class ImageHelperProcess;

// An SVG or gzip-compressed SVG icon image, drawn at whatever resolution it is placed at. Its
// structure is checked here; the library that parses and draws it runs in an image helper
// process of its own (see ImageHelperProcess), kept for the image's life so that each new size
// costs only its drawing. Immutable once read; several threads may draw it at once.
class SvgImage {
public:
    // Whether the bytes look like an SVG document or a gzip stream (which may hold one).
    static bool Recognises(const QByteArray& bytes);

    // The uncompressed document in `bytes`, or an empty array for one that inflates past 32 MB,
    // is inside a second gzip layer, whose references form a cycle or a chain deeper than 64,
    // or whose elements nest deeper than 128: the checks made before any library sees it.
    static QByteArray CheckedDocument(const QByteArray& bytes);

    // The document, or null for one CheckedDocument refuses, or that is not a well-formed SVG
    // with a positive, finite size, that the parser's limits on entities and elements refuse,
    // that fails to draw small, or whose helper takes more than kFirstLook to answer.
    // A built-in document is read in a helper another built-in one left, and leaves its own
    // for the next one when it is no longer drawn.
    static std::shared_ptr<const SvgImage> Read(const QByteArray& bytes,
                                                DocumentOrigin origin = DocumentOrigin::UserFile);

    static constexpr auto kFirstLook = std::chrono::seconds(2);
    // What one drawing at a later size may take: wall time here, memory in the helper
    // (ImageSandbox::kMemoryBytes).
    static constexpr auto kLongestDrawing = std::chrono::seconds(10);

    SvgImage(const SvgImage&) = delete;
    SvgImage& operator=(const SvgImage&) = delete;
    ~SvgImage();

    // The document's own area in its user units: its viewBox, else (0, 0, width, height).
    QRectF viewBox() const { return m_viewBox; }

    // The document drawn to fit a 256-pixel square, as a thumbnail of the image.
    const QImage& thumbnail() const { return m_thumbnail; }

    static constexpr qint64 kUnlimited = std::numeric_limits<qint64>::max();

    // The most pixels a drawing of the document may cover: at this area a drawing keeps to
    // about five seconds (estimated from the thumbnail's, as the time grows with the area) and,
    // with filters or masks, the pictures they hold stay within 640 MB. A place larger than
    // this is drawn at this area and enlarged. kUnlimited for a document without filters or
    // masks whose thumbnail was drawn in under half a second.
    qint64 largestDrawing() const { return m_largestDrawing; }

    // The uncompressed document.
    const QByteArray& document() const { return m_document; }

    // The document drawn onto a transparent premultiplied ARGB32 image of `size` pixels, user
    // units mapped to pixels by `toPixels`; a null image when the helper refuses, crashes or
    // misses kLongestDrawing (the next drawing starts a new helper).
    QImage Draw(QSize size, const QTransform& toPixels) const;

    // How many drawings have been refused so far, so that a caller can tell a picture without
    // its icon from one the icon was drawn into.
    int refusedDrawings() const { return m_refusedDrawings.load(); }

private:
    SvgImage(QByteArray document, QRectF viewBox, QImage thumbnail,
             std::unique_ptr<ImageHelperProcess> helper, DocumentOrigin origin);

    QByteArray m_document;
    QRectF m_viewBox;
    QImage m_thumbnail;
    qint64 m_largestDrawing = kUnlimited;
    // One drawing at a time: the helper answers one request after the other.
    mutable std::mutex m_drawing;
    mutable std::unique_ptr<ImageHelperProcess> m_helper;
    mutable std::atomic<int> m_refusedDrawings = 0;
    const DocumentOrigin m_origin;
};
