#include "platforms/IconComposerLayers.h"

#include "export/PngEncoder.h"
#include "platforms/PlatformPictures.h"
#include "render/DesignGeometry.h"
#include "render/ImageTools.h"
#include "render/LegibleGlyphs.h"
#include "render/SvgDarkIcon.h"
#include "render/SvgEmbedding.h"
#include "render/SvgPathData.h"
#include "render/SvgWriter.h"

#include <algorithm>

namespace IconComposerLayers {

namespace {

// The design as its full-bleed picture draws it, none of the background's own parts left: its
// layers drawn alone and cut to the canvas.
IconDesign Bare(const IconDesign& requested) {
    IconDesign design = DesignGeometry::ForDrawing(requested);
    design.transparentBackground = true;
    design.cornerCurvature = 0.0f;
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.iconShadow = false;
    design.textShadow = false;
    return design;
}

IconDesign TextAlone(const IconDesign& requested) {
    IconDesign design = Bare(requested);
    design.iconImage = QImage();
    design.iconVector.reset();
    return design;
}

IconDesign IconAlone(const IconDesign& requested) {
    IconDesign design = Bare(requested);
    design.text.clear();
    return design;
}

// Canvas units to points, as the full-bleed picture maps them.
QTransform ToPoints(const IconDesign& design) {
    return QTransform::fromScale(CanvasPoints / double(design.canvasWidth),
                                 CanvasPoints / double(design.canvasHeight));
}

// An SVG asset is in canvas units, scaled by this to points: square canvases keep their
// aspect in the asset.
double SvgScale(const IconDesign& design) {
    return CanvasPoints / double(std::max(design.canvasWidth, design.canvasHeight));
}

// Points to the user units of the design's SVG document.
QTransform PointsToDocument(const IconDesign& design) {
    const QSize pixels = PlatformPictures::CanvasPixels(design);
    return QTransform::fromScale(pixels.width() / double(CanvasPoints),
                                 pixels.height() / double(CanvasPoints));
}

// The canvas pixels a raster asset of `area` takes, one pixel a point: its aligned bounds with
// a pixel more for the smoothing at its edges, cut to the canvas.
QRect PixelsOf(const IconDesign& design, const QRectF& area) {
    return ToPoints(design)
        .mapRect(area)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1)
        .intersected(QRect(0, 0, CanvasPoints, CanvasPoints));
}

// Where an SVG asset of `area` (canvas units) shows: its size in points before the layer's
// scale, and the box of the design's SVG document it shows.
struct SvgPlace {
    QSizeF size;
    QRectF box;
};

SvgPlace SvgPlaceOf(const IconDesign& design, const QRectF& area) {
    const QRectF onCanvas = ToPoints(design).mapRect(area);
    return {onCanvas.size() / SvgScale(design), PointsToDocument(design).mapRect(onCanvas)};
}

// An SVG document of `area` of the design's SVG document, as it lies there; with `recolour`, its
// colours changed.
QByteArray SvgAsset(const IconDesign& design, const QRectF& area,
                    const SvgColorRewrite::ColorChange& recolor = {}) {
    const SvgPlace place = SvgPlaceOf(design, area);
    const QRectF& box = place.box;
    const QByteArray content =
        EmbeddedSvg(SvgDocument(design), QRectF(QPointF(), PlatformPictures::CanvasPixels(design)),
                    {}, {recolor});
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<svg xmlns=\"http://www.w3.org/2000/svg\" "
           "xmlns:xlink=\"http://www.w3.org/1999/xlink\" width=\"" +
           SvgNumber(place.size.width()) + "\" height=\"" + SvgNumber(place.size.height()) +
           "\" viewBox=\"" + SvgNumber(box.x()) + ' ' + SvgNumber(box.y()) + ' ' +
           SvgNumber(box.width()) + ' ' + SvgNumber(box.height()) +
           "\" preserveAspectRatio=\"none\">\n" + content + "\n</svg>\n";
}

// The design's layers drawn alone on the canvas of points, one pixel a point, cut to `pixels`.
QImage Picture(const IconDesign& design, const QRect& pixels) {
    RenderOptions options;
    options.layers = RenderOptions::Layers::Glyphs;
    options.outputSize = QSize(CanvasPoints, CanvasPoints);
    // One thread: the files of a set are already written side by side.
    return ImageTools::RenderIcon(design, options, 1).copy(pixels);
}

// `area` of the design's SVG document as an asset, placed where the area lies.
Layer SvgLayer(const QString& name, const IconDesign& design, const QRectF& area) {
    const QRectF onCanvas = ToPoints(design).mapRect(area);
    Layer layer;
    layer.name = name;
    layer.asset = {
        name + QStringLiteral(".svg"), PlannedFile::Kind::Text, {}, SvgAsset(design, area)};
    layer.scale = SvgScale(design);
    layer.translation = onCanvas.center() - QPointF(CanvasPoints, CanvasPoints) / 2;
    layer.area = area;
    layer.pixels = PixelsOf(design, area);
    return layer;
}

// A raster asset of the layers of `design` over the pixels `area` takes.
Layer PngLayer(const QString& name, const IconDesign& design, const QRectF& area) {
    Layer layer;
    layer.name = name;
    layer.pixels = PixelsOf(design, area);
    layer.asset = {
        name + QStringLiteral(".png"),
        PlannedFile::Kind::Generated,
        {},
        {},
        [design, pixels = layer.pixels] { return PngEncoder::Encode(Picture(design, pixels), 1); }};
    layer.translation = QRectF(layer.pixels).center() - QPointF(CanvasPoints, CanvasPoints) / 2;
    layer.area = area;
    return layer;
}

std::optional<Layer> TextLayer(const IconDesign& requested) {
    const IconDesign design = TextAlone(requested);
    if (design.text.isEmpty())
        return std::nullopt;
    const DesignGeometry::Frame frame = DesignGeometry::FrameOf(design, true, true);
    const DesignGeometry::Text text =
        DesignGeometry::TextOf(design, frame, ShadowOf(design, DesignValues::Layer::Text));
    // Mitred tips of an outline reach beyond the glyphs by up to half the miter limit.
    const double reach = text.strokeWidth * DesignGeometry::kMiterLimit * 0.5;
    const QRectF area = text.glyphs.boundingRect()
                            .adjusted(-reach, -reach, reach, reach)
                            .intersected(frame.background);
    if (text.glyphs.isEmpty() || area.isEmpty())
        return std::nullopt;
    Layer layer = SvgLayer(QStringLiteral("text"), design, area);
    layer.shadow = ShadowOf(requested, DesignValues::Layer::Text);
    layer.color = design.textColor.toQColor();
    return layer;
}

std::optional<Layer> IconLayer(const IconDesign& requested) {
    const IconDesign design = IconAlone(requested);
    const QSizeF size = DesignGeometry::IconSize(design);
    if ((!design.iconVector && design.iconImage.isNull()) || size.isEmpty())
        return std::nullopt;
    const DesignGeometry::Frame frame = DesignGeometry::FrameOf(design, true, true);
    const QRectF area = DesignGeometry::IconRect(design, frame, size).intersected(frame.background);
    if (area.isEmpty())
        return std::nullopt;
    Layer layer = design.iconVector ? SvgLayer(QStringLiteral("icon"), design, area)
                                    : PngLayer(QStringLiteral("icon"), design, area);
    layer.shadow = ShadowOf(requested, DesignValues::Layer::Icon);
    if (!design.useImageColors)
        layer.color = design.iconColor.toQColor();
    return layer;
}

} // namespace

QList<Layer> Layers(const IconDesign& design) {
    QList<Layer> layers;
    for (std::optional<Layer> layer : {TextLayer(design), IconLayer(design)})
        if (layer)
            layers.append(std::move(*layer));
    return layers;
}

std::optional<PlannedFile> LegibleIcon(const IconDesign& requested, const Layer& icon,
                                       const QColor& backdrop, double ratio) {
    if (!SvgDarkIcon::NeedsLightening(requested, backdrop, ratio))
        return std::nullopt;
    const IconDesign design = IconAlone(requested);
    if (design.iconVector)
        return PlannedFile{QStringLiteral("icon-dark.svg"),
                           PlannedFile::Kind::Text,
                           {},
                           SvgAsset(design, icon.area, SvgDarkIcon::Lightening(backdrop, ratio))};
    return PlannedFile{QStringLiteral("icon-dark.png"),
                       PlannedFile::Kind::Generated,
                       {},
                       {},
                       [design, pixels = icon.pixels, backdrop, ratio] {
                           return PngEncoder::Encode(
                               LegibleGlyphs::On(backdrop, Picture(design, pixels), ratio), 1);
                       }};
}

} // namespace IconComposerLayers
