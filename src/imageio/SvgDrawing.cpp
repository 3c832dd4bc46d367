#include "imageio/SvgDrawing.h"

#include <cairo.h>
// GLib names a structure member after Qt's `signals` keyword macro.
#pragma push_macro("signals")
#undef signals
#include <librsvg/rsvg.h>
#pragma pop_macro("signals")

#include <cmath>

namespace {

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

std::unique_ptr<SvgDrawing> SvgDrawing::Open(const QByteArray& document) {
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
    return std::unique_ptr<SvgDrawing>(new SvgDrawing(handle, area));
}

SvgDrawing::~SvgDrawing() {
    g_object_unref(m_handle);
}

QImage SvgDrawing::Draw(QSize size, const QTransform& toPixels) const {
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
    GError* error = nullptr;
    const bool drawn = rsvg_handle_render_document(m_handle, cairo, &viewport, &error);
    g_clear_error(&error);
    cairo_destroy(cairo);
    cairo_surface_flush(surface);
    cairo_surface_destroy(surface);
    return drawn ? image : QImage();
}
