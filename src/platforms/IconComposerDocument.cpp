#include "platforms/IconComposerDocument.h"

#include "design/ColorContrast.h"
#include "platforms/IconComposerLayers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace IconComposerDocument {

namespace {

using IconComposerLayers::Layer;

// "srgb:R,G,B,A", each from 0 to 1 with five decimals.
QString ColourText(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return QStringLiteral("srgb:%1,%2,%3,%4")
        .arg(rgb.redF(), 0, 'f', 5)
        .arg(rgb.greenF(), 0, 'f', 5)
        .arg(rgb.blueF(), 0, 'f', 5)
        .arg(rgb.alphaF(), 0, 'f', 5);
}

// Top to bottom across the canvas, in the unit square with its origin at the top left.
QJsonObject Gradient(const QColor& top, const QColor& bottom) {
    return QJsonObject{
        {"linear-gradient", QJsonArray{ColourText(top), ColourText(bottom)}},
        {"orientation", QJsonObject{{"start", QJsonObject{{"x", 0.5}, {"y", 0}}},
                                    {"stop", QJsonObject{{"x", 0.5}, {"y", 1}}}}},
    };
}

QJsonArray InDarkAppearance(const QJsonValue& value) {
    return {QJsonObject{{"appearance", "dark"}, {"value", value}}};
}

double Rounded(double value) {
    return std::round(value * 1e5) / 1e5;
}

// A shadow the design casts: neutral when black, else in the layer's own colour.
QJsonObject Shadow(const Layer& layer) {
    const QColor colour = layer.shadowColor.toQColor();
    if (!layer.shadow || colour.alpha() == 0)
        return {{"kind", "none"}, {"opacity", 0}};
    const bool black = colour.red() == 0 && colour.green() == 0 && colour.blue() == 0;
    return {{"kind", black ? "neutral" : "layer-color"}, {"opacity", Rounded(colour.alphaF())}};
}

QJsonObject Position(const Layer& layer) {
    return {{"scale", layer.scale},
            {"translation-in-points",
             QJsonArray{Rounded(layer.translation.x()), Rounded(layer.translation.y())}}};
}

// What the layers stand on in the dark appearance: the fill's end colours.
struct DarkGround {
    QColor top;
    QColor bottom;

    double WorstRatio(const QColor& colour) const {
        return std::min(ColorContrast::Ratio(colour, top), ColorContrast::Ratio(colour, bottom));
    }
    // The end that a colour lightened against it keeps its contrast on both ends.
    QColor Lighter() const {
        return ColorContrast::RelativeLuminance(top) >= ColorContrast::RelativeLuminance(bottom)
                   ? top
                   : bottom;
    }
};

} // namespace

QList<PlannedFile> Plan(const IconDesign& design, const QString& name) {
    const QString folder = name + QStringLiteral(".icon/");
    QJsonObject root{
        {"supported-platforms",
         QJsonObject{{"squares", "shared"}, {"circles", QJsonArray{"watchOS"}}}},
    };
    DarkGround dark{ColorContrast::DarkHomeScreen(), ColorContrast::DarkHomeScreen()};
    if (design.transparentBackground) {
        // The system's fill, in either appearance: the layers are judged on its dark home
        // screen.
        root.insert("fill", "automatic");
    } else {
        const QColor top = design.gradientStartColor.toQColor();
        const QColor bottom = design.gradientEndColor.toQColor();
        dark = {ColorContrast::DarkAppearance(top), ColorContrast::DarkAppearance(bottom)};
        root.insert("fill", Gradient(top, bottom));
        root.insert("fill-specializations", InDarkAppearance(Gradient(dark.top, dark.bottom)));
    }

    QList<PlannedFile> assets;
    QJsonArray groups;
    for (const Layer& layer : IconComposerLayers::Layers(design)) {
        QJsonObject entry{
            {"name", layer.name}, {"image-name", layer.asset.path}, {"position", Position(layer)}};
        assets.append(layer.asset);
        if (layer.colour) {
            if (dark.WorstRatio(*layer.colour) < DarkLayerRatio)
                entry.insert("fill-specializations",
                             InDarkAppearance(QJsonObject{
                                 {"solid", ColourText(ColorContrast::LegibleOn(
                                               *layer.colour, dark.Lighter(), DarkLayerRatio))}}));
        } else if (const std::optional<PlannedFile> legible = IconComposerLayers::LegibleIcon(
                       design, layer, dark.Lighter(), DarkLayerRatio)) {
            entry.insert("image-name-specializations", InDarkAppearance(legible->path));
            assets.append(*legible);
        }
        groups.append(QJsonObject{
            {"name", layer.name}, {"layers", QJsonArray{entry}}, {"shadow", Shadow(layer)}});
    }
    root.insert("groups", groups);

    QList<PlannedFile> files{{folder + QStringLiteral("icon.json"),
                              PlannedFile::Kind::Text,
                              {},
                              QJsonDocument(root).toJson()}};
    for (PlannedFile asset : assets) {
        asset.path = folder + QStringLiteral("Assets/") + asset.path;
        files.append(std::move(asset));
    }
    return files;
}

} // namespace IconComposerDocument
