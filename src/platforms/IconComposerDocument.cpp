#include "platforms/IconComposerDocument.h"

#include "design/ColorContrast.h"
#include "platforms/IconComposerLayers.h"
#include "render/BadgeSvg.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>
#include <cmath>

namespace IconComposerDocument {

namespace {

using IconComposerLayers::Layer;

// "srgb:R,G,B,A", each from 0 to 1 with five decimals.
QString ColorText(const QColor& color) {
    const QColor rgb = color.toRgb();
    return QStringLiteral("srgb:%1,%2,%3,%4")
        .arg(rgb.redF(), 0, 'f', 5)
        .arg(rgb.greenF(), 0, 'f', 5)
        .arg(rgb.blueF(), 0, 'f', 5)
        .arg(rgb.alphaF(), 0, 'f', 5);
}

// Top to bottom across the canvas, in the unit square with its origin at the top left.
QJsonObject Gradient(const QColor& top, const QColor& bottom) {
    return QJsonObject{
        {"linear-gradient", QJsonArray{ColorText(top), ColorText(bottom)}},
        {"orientation", QJsonObject{{"start", QJsonObject{{"x", 0.5}, {"y", 0}}},
                                    {"stop", QJsonObject{{"x", 0.5}, {"y", 1}}}}},
    };
}

// A value that differs in the dark appearance, as the format writes it: the base entry first
// (Apple's compiler drops an array without it), then the dark one. The plain key is not written
// beside it.
void InsertSpecialized(QJsonObject& object, const QString& key, const QJsonValue& value,
                       const QJsonValue& dark) {
    object.insert(key + QStringLiteral("-specializations"),
                  QJsonArray{QJsonObject{{"value", value}},
                             QJsonObject{{"appearance", "dark"}, {"value", dark}}});
}

double Rounded(double value) {
    return std::round(value * 1e5) / 1e5;
}

// A shadow the design casts: neutral when black, else in the layer's own colour.
QJsonObject ShadowEntry(const Layer& layer) {
    if (!layer.shadow.isCast())
        return {{"kind", "none"}, {"opacity", 0}};
    const QColor color = layer.shadow.color.toQColor();
    const bool black = color.red() == 0 && color.green() == 0 && color.blue() == 0;
    return {{"kind", black ? "neutral" : "layer-color"}, {"opacity", Rounded(color.alphaF())}};
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

    double WorstRatio(const QColor& color) const {
        return std::min(ColorContrast::Ratio(color, top), ColorContrast::Ratio(color, bottom));
    }
    // The end that a colour lightened against it keeps its contrast on both ends.
    QColor Lighter() const {
        return ColorContrast::RelativeLuminance(top) >= ColorContrast::RelativeLuminance(bottom)
                   ? top
                   : bottom;
    }
};

// The badge's group: its asset covers the whole canvas of points, so it sits unmoved.
QJsonObject BadgeGroup(const Badge& badge, QList<PlannedFile>& assets) {
    using IconComposerLayers::CanvasPoints;
    const BadgeArt art(badge);
    const QSize canvas(CanvasPoints, CanvasPoints);
    const BadgeArea area =
        BadgeArea::Circle(QPointF(CanvasPoints, CanvasPoints) / 2, CanvasPoints / 2.0);
    const QString light = QStringLiteral("badge.svg");
    const QString dark = QStringLiteral("badge-dark.svg");
    assets.append({light,
                   PlannedFile::Kind::Text,
                   {},
                   BadgeSvg::Document(art, canvas, area, BadgeLook::Color)});
    assets.append({dark,
                   PlannedFile::Kind::Text,
                   {},
                   BadgeSvg::Document(art, canvas, area, BadgeLook::Dark)});
    QJsonObject entry{
        {"name", "badge"},
        {"position", QJsonObject{{"scale", 1}, {"translation-in-points", QJsonArray{0, 0}}}}};
    InsertSpecialized(entry, "image-name", light, dark);
    return QJsonObject{{"name", "badge"},
                       {"layers", QJsonArray{entry}},
                       {"shadow", QJsonObject{{"kind", "none"}, {"opacity", 0}}}};
}

} // namespace

QList<PlannedFile> Plan(const IconDesign& design, const QString& name, const Badge& badge) {
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
        InsertSpecialized(root, "fill", Gradient(top, bottom), Gradient(dark.top, dark.bottom));
    }

    QList<PlannedFile> assets;
    QJsonArray groups;
    if (badge.IsSet())
        groups.append(BadgeGroup(badge, assets));
    for (const Layer& layer : IconComposerLayers::Layers(design)) {
        QJsonObject entry{{"name", layer.name}, {"position", Position(layer)}};
        assets.append(layer.asset);
        std::optional<PlannedFile> legible;
        if (layer.color) {
            // The layer's own colours in the light appearance: the system's fill for it.
            if (dark.WorstRatio(*layer.color) < DarkLayerRatio)
                InsertSpecialized(
                    entry, "fill", "automatic",
                    QJsonObject{{"solid", ColorText(ColorContrast::LegibleOn(
                                              *layer.color, dark.Lighter(), DarkLayerRatio))}});
        } else {
            legible =
                IconComposerLayers::LegibleIcon(design, layer, dark.Lighter(), DarkLayerRatio);
        }
        if (legible) {
            InsertSpecialized(entry, "image-name", layer.asset.path, legible->path);
            assets.append(*legible);
        } else {
            entry.insert("image-name", layer.asset.path);
        }
        groups.append(QJsonObject{
            {"name", layer.name}, {"layers", QJsonArray{entry}}, {"shadow", ShadowEntry(layer)}});
    }
    // A document always has a group, and its asset folder, though nothing is drawn on the fill.
    if (groups.isEmpty())
        groups.append(QJsonObject{{"layers", QJsonArray()}});
    root.insert("groups", groups);

    QList<PlannedFile> files{{folder + QStringLiteral("icon.json"),
                              PlannedFile::Kind::Text,
                              {},
                              QJsonDocument(root).toJson()}};
    for (PlannedFile asset : assets) {
        asset.path = folder + QStringLiteral("Assets/") + asset.path;
        files.append(std::move(asset));
    }
    if (assets.isEmpty())
        files.append({folder + QStringLiteral("Assets"), PlannedFile::Kind::Folder, {}, {}});
    return files;
}

} // namespace IconComposerDocument
