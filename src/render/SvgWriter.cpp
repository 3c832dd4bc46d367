#include "render/SvgWriter.h"

#include "design/ColorContrast.h"
#include "design/DesignValues.h"
#include "imageio/SvgImage.h"
#include "render/BadgeSvg.h"
#include "render/DesignGeometry.h"
#include "render/LayerStack.h"
#include "render/LegibleGlyphs.h"
#include "render/SvgDarkIcon.h"
#include "render/SvgDarkStyle.h"
#include "render/SvgEmbedding.h"
#include "render/SvgPathData.h"

#include <QBuffer>
#include <QColor>
#include <QCryptographicHash>

#include <optional>

namespace {

using DesignGeometry::Frame;

QByteArray Color(const Rgba& rgba) {
    return QColor(rgba.toQColor()).name(QColor::HexRgb).toLatin1();
}

QByteArray Opacity(const Rgba& rgba) {
    return SvgNumber(rgba.toQColor().alphaF());
}

// Every id is written with a mark in front; the finished document replaces the mark with a
// prefix of its own content's digest, so that documents shown together (inlined in one page)
// never share an id, and the same design still gives the same bytes. The mark is a character
// XML does not allow, so no content can hold it.
constexpr char kIdMark = '\001';
QByteArray Id(const QByteArray& name) {
    return kIdMark + name;
}

QByteArray Attribute(const char* name, const QByteArray& value) {
    return ' ' + QByteArray(name) + "=\"" + value + '"';
}

// A drop shadow under what the filtered group draws: its alpha blurred as the raster blurs it
// (a Gaussian of half the blur radius), moved, and coloured. The region is the whole picture and
// far around it, so no blur is cut short.
QByteArray ShadowFilter(const QByteArray& id, const Shadow& shadow, const QSizeF& outer) {
    const QPointF offset = DesignGeometry::ShadowOffset(shadow.distance, shadow.angle);
    const Rgba& color = shadow.color;
    const double sigma = std::max(0.0, shadow.blur) * 0.5;
    return "<filter id=\"" + id + "\" filterUnits=\"userSpaceOnUse\"" +
           Attribute("x", SvgNumber(-outer.width())) + Attribute("y", SvgNumber(-outer.height())) +
           Attribute("width", SvgNumber(3 * outer.width())) +
           Attribute("height", SvgNumber(3 * outer.height())) +
           " color-interpolation-filters=\"sRGB\">"
           "<feGaussianBlur in=\"SourceAlpha\" stdDeviation=\"" +
           SvgNumber(sigma) + "\"/><feOffset" + Attribute("dx", SvgNumber(offset.x())) +
           Attribute("dy", SvgNumber(offset.y())) + " result=\"a\"/><feFlood" +
           Attribute("flood-color", Color(color)) + Attribute("flood-opacity", Opacity(color)) +
           "/><feComposite operator=\"in\" in2=\"a\"/><feMerge><feMergeNode/>"
           "<feMergeNode in=\"SourceGraphic\"/></feMerge></filter>";
}

// The tint laid over the image's own colours where it is drawn, as the raster tints it. The
// flood carries `floodClass` (attributes), so a style can recolour the tint.
QByteArray TintFilter(const QByteArray& id, const Rgba& color, const QByteArray& floodClass) {
    return "<filter id=\"" + id +
           "\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" color-interpolation-filters=\"sRGB\">"
           "<feFlood" +
           floodClass + Attribute("flood-color", Color(color)) +
           Attribute("flood-opacity", Opacity(color)) +
           "/><feComposite operator=\"atop\" in2=\"SourceGraphic\"/></filter>";
}

QByteArray PngDataUrl(const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return "data:image/png;base64," + png.toBase64();
}

// Where the embedded SVG icon image and its lightened copy go: they are embedded last, once the
// ids' prefix is known.
const QByteArray kEmbeddedImage = QByteArray(2, kIdMark) + "image";
const QByteArray kEmbeddedLightened = QByteArray(2, kIdMark) + "lightened";

// The icon image's content in its own units over (0, 0, size): the SVG document (its place
// marked), or the pixels as PNG data. With `lightenedOn`, the copy of it whose colours under
// ColorContrast::LegibleRatio against that ground are lightened (see SvgDarkIcon); empty when
// none is. That copy of an SVG image keeps its style sheets to the dark look, where the first
// copy is hidden: a style sheet reaches every copy in the document.
QByteArray IconContent(const IconDesign& design, QSizeF& size,
                       const std::optional<QColor>& lightenedOn = {}) {
    if (design.iconVector) {
        const QRectF area = design.iconVector->viewBox();
        // A document the XML reader refuses (its entities beyond the reader's limits) is
        // embedded as the pixels of its thumbnail rather than not at all.
        if (!EmbeddedSvg(design.iconVector->document(), area, {}).isEmpty()) {
            if (lightenedOn &&
                !SvgDarkIcon::NeedsLightening(design, *lightenedOn, ColorContrast::LegibleRatio))
                return {};
            size = area.size();
            return "<g transform=\"translate(" + SvgNumber(-area.x()) + ' ' + SvgNumber(-area.y()) +
                   ")\">" + (lightenedOn ? kEmbeddedLightened : kEmbeddedImage) + "</g>";
        }
    }
    QImage pixels = design.iconImage;
    if (lightenedOn) {
        pixels.convertTo(QImage::Format_ARGB32_Premultiplied);
        const QImage lightened = LegibleGlyphs::On(*lightenedOn, pixels);
        if (lightened == pixels)
            return {};
        pixels = lightened;
    }
    size = pixels.size();
    return "<image" + Attribute("width", SvgNumber(pixels.width())) +
           Attribute("height", SvgNumber(pixels.height())) +
           " preserveAspectRatio=\"none\" xlink:href=\"" + PngDataUrl(pixels) + "\"/>";
}

// The document as it is written: its definitions and what it draws, in canvas units.
struct Writing {
    const IconDesign& design;
    const SvgDocumentOptions& options;
    QColor darkGround;
    QByteArray defs = {};
    QByteArray body = {};
    bool lightenedIcon = false;

    // Only a document with a dark look marks what the look recolours.
    QByteArray DarkClass(std::initializer_list<const char*> names) const {
        QByteArray classes;
        for (const char* name : names)
            classes += (classes.isEmpty() ? "" : " ") + Id(name);
        return options.darkColorScheme ? Attribute("class", classes) : QByteArray();
    }
};

QByteArray BackgroundContent(Writing& writing, const Frame& frame, const StackedLayer& layer) {
    const IconDesign& design = writing.design;
    QByteArray content;
    if (layer.outline.on)
        content += "<path" + Attribute("d", SvgPathData(frame.outlinePath)) +
                   Attribute("fill-rule", SvgFillRule(frame.outlinePath)) +
                   Attribute("fill", Color(layer.outline.color)) +
                   Attribute("fill-opacity", Opacity(layer.outline.color)) + "/>";
    const QRectF& b = layer.rect;
    writing.defs += "<linearGradient id=\"" + Id("background-gradient") +
                    "\" gradientUnits=\"userSpaceOnUse\"" + Attribute("x1", SvgNumber(b.left())) +
                    Attribute("y1", SvgNumber(b.top())) + Attribute("x2", SvgNumber(b.left())) +
                    Attribute("y2", SvgNumber(b.bottom())) + "><stop offset=\"0\"" +
                    writing.DarkClass({SvgDarkStyle::GradientStart}) +
                    Attribute("stop-color", Color(design.gradientStartColor)) +
                    Attribute("stop-opacity", Opacity(design.gradientStartColor)) +
                    "/><stop offset=\"1\"" + writing.DarkClass({SvgDarkStyle::GradientEnd}) +
                    Attribute("stop-color", Color(design.gradientEndColor)) +
                    Attribute("stop-opacity", Opacity(design.gradientEndColor)) +
                    "/></linearGradient>";
    return content + "<path" + Attribute("d", SvgPathData(frame.backgroundPath)) + " fill=\"url(#" +
           Id("background-gradient") + ")\"/>";
}

QByteArray IconImageContent(Writing& writing, const StackedLayer& layer) {
    const IconDesign& design = writing.design;
    const QRectF& rect = layer.rect;
    QSizeF contentSize;
    QByteArray content = IconContent(design, contentSize);
    const QTransform placed = QTransform::fromScale(rect.width() / contentSize.width(),
                                                    rect.height() / contentSize.height()) *
                              DesignGeometry::TurnedWithin(rect.size(), design.iconRotation) *
                              QTransform::fromTranslate(rect.left(), rect.top());
    if (writing.options.darkColorScheme && design.useImageColors) {
        QSizeF same;
        if (const QByteArray lightened = IconContent(design, same, writing.darkGround);
            !lightened.isEmpty()) {
            // Both copies in one place, so that either casts the shadow; the dark look swaps
            // them.
            content = "<g" + writing.DarkClass({SvgDarkStyle::OwnColors}) + '>' + content +
                      "</g><g" + writing.DarkClass({SvgDarkStyle::Lightened}) +
                      " display=\"none\">" + lightened + "</g>";
            writing.lightenedIcon = true;
        }
    }
    content = "<g" + Attribute("transform", SvgMatrix(placed)) + '>' + content + "</g>";
    if (!design.useImageColors) {
        writing.defs +=
            TintFilter(Id("icon-tint"), design.iconColor, writing.DarkClass({SvgDarkStyle::Tint}));
        content = "<g filter=\"url(#" + Id("icon-tint") + ")\">" + content + "</g>";
    }
    return content;
}

QByteArray TextContent(const Writing& writing, const StackedLayer& layer) {
    const IconDesign& design = writing.design;
    const QPainterPath& glyphs = layer.text.glyphs;
    const Outline& outline = layer.outline;
    QByteArray content =
        "<path" +
        (outline.on ? writing.DarkClass({SvgDarkStyle::TextFill, SvgDarkStyle::TextOutline})
                    : writing.DarkClass({SvgDarkStyle::TextFill})) +
        Attribute("d", SvgPathData(glyphs)) + Attribute("fill-rule", SvgFillRule(glyphs)) +
        Attribute("fill", Color(design.textColor)) +
        Attribute("fill-opacity", Opacity(design.textColor));
    if (outline.on)
        content += Attribute("stroke", Color(outline.color)) +
                   Attribute("stroke-opacity", Opacity(outline.color)) +
                   Attribute("stroke-width", SvgNumber(outline.size)) +
                   " stroke-linejoin=\"miter\" stroke-linecap=\"square\"" +
                   Attribute("stroke-miterlimit", SvgNumber(DesignGeometry::kMiterLimit));
    return content + "/>";
}

QByteArray PartName(DesignValues::Layer part) {
    switch (part) {
    case DesignValues::Layer::Background:
        return "background";
    case DesignValues::Layer::Icon:
        return "icon";
    case DesignValues::Layer::Text:
        return "text";
    case DesignValues::Layer::None:
        break;
    }
    return "canvas";
}

// A layer's content with its shadow beneath it; a layer cut to the background shape is cut
// together with its shadow.
void AddLayer(Writing& writing, const Frame& frame, const StackedLayer& layer, QByteArray content) {
    if (layer.shadow.isCast()) {
        const QByteArray filter = Id(PartName(layer.part) + "-shadow");
        writing.defs += ShadowFilter(filter, layer.shadow, frame.outerSize);
        content = "<g filter=\"url(#" + filter + ")\">" + content + "</g>";
    }
    if (layer.clippedToBackground)
        content = "<g clip-path=\"url(#" + Id("background-shape") + ")\">" + content + "</g>";
    writing.body += content;
}

} // namespace

QByteArray SvgDocument(const IconDesign& requested, const SvgDocumentOptions& options) {
    const IconDesign design = DesignGeometry::ForDrawing(requested);
    const LayerStack stack = StackOf(design);
    const Frame& frame = stack.frame;
    const int width =
        std::clamp(static_cast<int>(design.canvasWidth), 1, DesignValues::LargestSide);
    const int height =
        std::clamp(static_cast<int>(design.canvasHeight), 1, DesignValues::LargestSide);
    // The whole picture, outline and shadow room included, scaled to the canvas, as the raster.
    const QTransform toCanvas =
        QTransform::fromTranslate(frame.shadowMargin.x(), frame.shadowMargin.y()) *
        QTransform::fromScale(width / frame.outerSize.width(), height / frame.outerSize.height());

    Writing writing{design, options, SvgDarkStyle::GlyphGround(design)};
    writing.defs += "<clipPath id=\"" + Id("background-shape") + "\"><path" +
                    Attribute("d", SvgPathData(frame.backgroundPath)) + "/></clipPath>";
    for (const StackedLayer& layer : stack.layers) {
        switch (layer.part) {
        case DesignValues::Layer::Background:
            AddLayer(writing, frame, layer, BackgroundContent(writing, frame, layer));
            break;
        case DesignValues::Layer::Icon:
            AddLayer(writing, frame, layer, IconImageContent(writing, layer));
            break;
        case DesignValues::Layer::Text:
            AddLayer(writing, frame, layer, TextContent(writing, layer));
            break;
        case DesignValues::Layer::None:
            break;
        }
    }
    if (stack.beneath.isCast()) {
        writing.defs += ShadowFilter(Id("background-shadow"), stack.beneath, frame.outerSize);
        writing.body =
            "<g filter=\"url(#" + Id("background-shadow") + ")\">" + writing.body + "</g>";
    }
    if (options.darkColorScheme)
        writing.defs =
            SvgDarkStyle::StyleElement(design, Id({}), writing.lightenedIcon) + writing.defs;

    const QByteArray w = QByteArray::number(width);
    const QByteArray h = QByteArray::number(height);
    // On the design's own shape, as the raster pictures of the design as drawn carry it.
    const QByteArray badge = BadgeSvg::Elements(
        BadgeArt(options.badge), BadgeArea::OfDesign(design).Scaled(QSizeF(width, height)),
        BadgeLook::Color, options.darkColorScheme ? Id({}) : QByteArray());
    QByteArray document = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<svg xmlns=\"http://www.w3.org/2000/svg\" "
                          "xmlns:xlink=\"http://www.w3.org/1999/xlink\"" +
                          Attribute("width", w) + Attribute("height", h) +
                          Attribute("viewBox", "0 0 " + w + ' ' + h) + ">\n<defs>" + writing.defs +
                          "</defs>\n<g" + Attribute("transform", SvgMatrix(toCanvas)) + ">" +
                          writing.body + "</g>\n" + badge + "</svg>\n";
    QCryptographicHash digest(QCryptographicHash::Sha1);
    digest.addData(document);
    const bool embedding = document.contains(kEmbeddedImage);
    if (embedding)
        digest.addData(design.iconVector->document());
    const QByteArray prefix = "s" + digest.result().toHex().left(8) + '-';
    if (embedding) {
        const QByteArray& image = design.iconVector->document();
        const QRectF area = design.iconVector->viewBox();
        document.replace(kEmbeddedImage, EmbeddedSvg(image, area, prefix + "image-"));
        document.replace(
            kEmbeddedLightened,
            EmbeddedSvg(image, area, prefix + "image-dark-",
                        {SvgDarkIcon::Lightening(writing.darkGround, ColorContrast::LegibleRatio),
                         SvgDarkStyle::DarkScheme}));
    }
    return document.replace(kIdMark, prefix);
}
