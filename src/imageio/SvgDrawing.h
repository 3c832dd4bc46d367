#pragma once

#include <QByteArray>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <memory>

struct _RsvgHandle;

// An SVG document parsed by librsvg and drawn at any resolution: what an image helper process
// holds for the SVG icon image it serves. The document is read from memory with no base
// location, so it can never make the library read another file or a URL.
class SvgDrawing {
public:
    // The document, or null when the library refuses it or it has no positive, finite size.
    static std::unique_ptr<SvgDrawing> Open(const QByteArray& document);

    SvgDrawing(const SvgDrawing&) = delete;
    SvgDrawing& operator=(const SvgDrawing&) = delete;
    ~SvgDrawing();

    // The document's own area in its user units: its viewBox, else (0, 0, width, height).
    QRectF viewBox() const { return m_viewBox; }

    // The document drawn onto a transparent premultiplied ARGB32 image of `size` pixels, user
    // units mapped to pixels by `toPixels`; null when it cannot be drawn.
    QImage Draw(QSize size, const QTransform& toPixels) const;

private:
    SvgDrawing(_RsvgHandle* handle, QRectF viewBox) : m_handle(handle), m_viewBox(viewBox) {}

    _RsvgHandle* m_handle;
    QRectF m_viewBox;
};
