#include "render/SvgWriter.h"

#include "design/ColorContrast.h"
#include "design/DesignValues.h"
#include "imageio/SvgImage.h"
#include "render/BadgeSvg.h"
#include "render/DesignGeometry.h"
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
QByteArray ShadowFilter(const QByteArray& id, const Rgba& color, double blurRadius,
                        const QPointF& offset, const QSizeF& outer) {
    const double sigma = std::max(0.0, blurRadius) * 0.5;
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

} // namespace

QByteArray SvgDocument(const IconDesign& requested, const SvgDocumentOptions& options) {
    const IconDesign design = DesignGeometry::ForDrawing(requested);
    const Frame frame = DesignGeometry::FrameOf(design, false, true);
    const int width =
        std::clamp(static_cast<int>(design.canvasWidth), 1, DesignValues::LargestSide);
    const int height =
        std::clamp(static_cast<int>(design.canvasHeight), 1, DesignValues::LargestSide);
    // The whole picture, outline and shadow room included, scaled to the canvas, as the raster.
    const QTransform toCanvas =
        QTransform::fromTranslate(frame.shadowMargin.x(), frame.shadowMargin.y()) *
        QTransform::fromScale(width / frame.outerSize.width(), height / frame.outerSize.height());

    // Only a document with a dark look marks what the look recolours.
    auto darkClass = [&](std::initializer_list<const char*> names) {
        QByteArray classes;
        for (const char* name : names)
            classes += (classes.isEmpty() ? "" : " ") + Id(name);
        return options.darkColorScheme ? Attribute("class", classes) : QByteArray();
    };
    const QColor darkGround = SvgDarkStyle::GlyphGround(design);
    bool lightenedIcon = false;
    QByteArray defs;
    QByteArray body;
    defs += "<clipPath id=\"" + Id("background-shape") + "\"><path" +
            Attribute("d", SvgPathData(frame.backgroundPath)) + "/></clipPath>";
    if (frame.opaqueBackground) {
        if (!frame.outlinePath.isEmpty())
            body += "<path" + Attribute("d", SvgPathData(frame.outlinePath)) +
                    Attribute("fill-rule", SvgFillRule(frame.outlinePath)) +
                    Attribute("fill", Color(design.backgroundStrokeColor)) +
                    Attribute("fill-opacity", Opacity(design.backgroundStrokeColor)) + "/>";
        const QRectF& b = frame.background;
        defs += "<linearGradient id=\"" + Id("background-gradient") +
                "\" gradientUnits=\"userSpaceOnUse\"" + Attribute("x1", SvgNumber(b.left())) +
                Attribute("y1", SvgNumber(b.top())) + Attribute("x2", SvgNumber(b.left())) +
                Attribute("y2", SvgNumber(b.bottom())) + "><stop offset=\"0\"" +
                darkClass({SvgDarkStyle::GradientStart}) +
                Attribute("stop-color", Color(design.gradientStartColor)) +
                Attribute("stop-opacity", Opacity(design.gradientStartColor)) +
                "/><stop offset=\"1\"" + darkClass({SvgDarkStyle::GradientEnd}) +
                Attribute("stop-color", Color(design.gradientEndColor)) +
                Attribute("stop-opacity", Opacity(design.gradientEndColor)) + "/></linearGradient>";
        body += "<path" + Attribute("d", SvgPathData(frame.backgroundPath)) + " fill=\"url(#" +
                Id("background-gradient") + ")\"/>";
    }

    // A layer is cut to the background shape together with its shadow.
    auto layer = [&](const QByteArray& name, bool shadow, const Rgba& color, double blur,
                     double distance, double angle, const QByteArray& content) {
        QByteArray group = "<g clip-path=\"url(#" + Id("background-shape") + ")\">";
        if (shadow && color.toQColor().alpha() > 0) {
            defs += ShadowFilter(Id(name + "-shadow"), color, blur,
                                 DesignGeometry::ShadowOffset(distance, angle), frame.outerSize);
            group += "<g filter=\"url(#" + Id(name + "-shadow") + ")\">" + content + "</g>";
        } else {
            group += content;
        }
        body += group + "</g>";
    };

    const QSizeF iconSize = DesignGeometry::IconSize(design);
    if ((design.iconVector || !design.iconImage.isNull()) && !iconSize.isEmpty()) {
        const QRectF rect = DesignGeometry::IconRect(design, frame, iconSize);
        QSizeF contentSize;
        QByteArray content = IconContent(design, contentSize);
        const QTransform placed = QTransform::fromScale(rect.width() / contentSize.width(),
                                                        rect.height() / contentSize.height()) *
                                  DesignGeometry::TurnedWithin(rect.size(), design.iconRotation) *
                                  QTransform::fromTranslate(rect.left(), rect.top());
        if (options.darkColorScheme && design.useImageColors) {
            QSizeF same;
            if (const QByteArray lightened = IconContent(design, same, darkGround);
                !lightened.isEmpty()) {
                // Both copies in one place, so that either casts the shadow; the dark look
                // swaps them.
                content = "<g" + darkClass({SvgDarkStyle::OwnColors}) + '>' + content + "</g><g" +
                          darkClass({SvgDarkStyle::Lightened}) + " display=\"none\">" + lightened +
                          "</g>";
                lightenedIcon = true;
            }
        }
        content = "<g" + Attribute("transform", SvgMatrix(placed)) + '>' + content + "</g>";
        if (!design.useImageColors) {
            defs += TintFilter(Id("icon-tint"), design.iconColor, darkClass({SvgDarkStyle::Tint}));
            content = "<g filter=\"url(#" + Id("icon-tint") + ")\">" + content + "</g>";
        }
        layer("icon", design.iconShadow, design.iconShadowColor, design.iconShadowBlur,
              design.iconShadowOffset, design.iconShadowAngle, content);
    }

    if (!design.text.isEmpty()) {
        const DesignGeometry::Text text =
            DesignGeometry::TextOf(design, frame, ShadowOf(design, DesignValues::Layer::Text));
        const bool outlined = text.strokeWidth > 0.0;
        QByteArray glyphs =
            "<path" +
            (outlined ? darkClass({SvgDarkStyle::TextFill, SvgDarkStyle::TextOutline})
                      : darkClass({SvgDarkStyle::TextFill})) +
            Attribute("d", SvgPathData(text.glyphs)) +
            Attribute("fill-rule", SvgFillRule(text.glyphs)) +
            Attribute("fill", Color(design.textColor)) +
            Attribute("fill-opacity", Opacity(design.textColor));
        if (outlined)
            glyphs += Attribute("stroke", Color(design.textStrokeColor)) +
                      Attribute("stroke-opacity", Opacity(design.textStrokeColor)) +
                      Attribute("stroke-width", SvgNumber(text.strokeWidth)) +
                      " stroke-linejoin=\"miter\" stroke-linecap=\"square\"" +
                      Attribute("stroke-miterlimit", SvgNumber(DesignGeometry::kMiterLimit));
        glyphs += "/>";
        if (!text.glyphs.isEmpty())
            layer("text", design.textShadow, design.textShadowColor, design.textShadowBlur,
                  design.textShadowOffset, design.textShadowAngle, glyphs);
    }

    if (frame.backgroundShadow && design.backgroundShadowColor.toQColor().alpha() > 0) {
        defs += ShadowFilter(Id("background-shadow"), design.backgroundShadowColor,
                             design.backgroundShadowBlur,
                             DesignGeometry::ShadowOffset(design.backgroundShadowOffset,
                                                          design.backgroundShadowAngle),
                             frame.outerSize);
        body = "<g filter=\"url(#" + Id("background-shadow") + ")\">" + body + "</g>";
    }

    if (options.darkColorScheme)
        defs = SvgDarkStyle::StyleElement(design, Id({}), lightenedIcon) + defs;

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
                          Attribute("viewBox", "0 0 " + w + ' ' + h) + ">\n<defs>" + defs +
                          "</defs>\n<g" + Attribute("transform", SvgMatrix(toCanvas)) + ">" + body +
                          "</g>\n" + badge + "</svg>\n";
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
                        {SvgDarkIcon::Lightening(darkGround, ColorContrast::LegibleRatio),
                         SvgDarkStyle::DarkScheme}));
    }
    return document.replace(kIdMark, prefix);
}
