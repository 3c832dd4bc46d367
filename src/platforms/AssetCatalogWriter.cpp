#include "platforms/AssetCatalogWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace AssetCatalogWriter {

namespace {

// One image of the set as Contents.json describes it.
struct CatalogImage {
    QString idiom;
    QString platform;   // empty for the macOS entries, which the idiom already places
    QString appearance; // luminosity value, empty for the plain (light) icon
    int size;           // in points
    int scale;          // 0 for the single-size entries, which carry no scale
    PlatformVariant variant;
    PlannedFile::Kind kind;
};

QList<CatalogImage> Images() {
    constexpr int SingleSize = 1024;
    // The stores reject any alpha channel in the light iOS icon and the watchOS icon.
    QList<CatalogImage> images{
        {"universal", "ios", "", SingleSize, 0, PlatformVariant::FullBleed,
         PlannedFile::Kind::OpaquePng},
        {"universal", "ios", "dark", SingleSize, 0, PlatformVariant::Dark, PlannedFile::Kind::Png},
        {"universal", "ios", "tinted", SingleSize, 0, PlatformVariant::Tinted,
         PlannedFile::Kind::Png},
        {"universal", "watchos", "", SingleSize, 0, PlatformVariant::FullBleed,
         PlannedFile::Kind::OpaquePng},
    };
    for (int size : {16, 32, 128, 256, 512}) {
        for (int scale : {1, 2})
            images.append(
                {"mac", "", "", size, scale, PlatformVariant::MacGrid, PlannedFile::Kind::Png});
    }
    return images;
}

QString FileName(const CatalogImage& image) {
    QString name = QStringLiteral("icon-%1-%2")
                       .arg(image.platform.isEmpty() ? image.idiom : image.platform)
                       .arg(image.size);
    if (image.scale > 1)
        name += QStringLiteral("@%1x").arg(image.scale);
    if (!image.appearance.isEmpty())
        name += u'-' + image.appearance;
    return name + QStringLiteral(".png");
}

QJsonObject Entry(const CatalogImage& image) {
    QJsonObject entry{
        {"filename", FileName(image)},
        {"idiom", image.idiom},
        {"size", QStringLiteral("%1x%1").arg(image.size)},
    };
    if (!image.platform.isEmpty())
        entry.insert("platform", image.platform);
    if (image.scale > 0)
        entry.insert("scale", QStringLiteral("%1x").arg(image.scale));
    if (!image.appearance.isEmpty()) {
        const QJsonObject luminosity{{"appearance", "luminosity"}, {"value", image.appearance}};
        entry.insert("appearances", QJsonArray{luminosity});
    }
    return entry;
}

PlannedFile Picture(const QString& path, const CatalogImage& image, int pixels) {
    return {path, image.kind, {{image.variant, pixels}}, {}};
}

} // namespace

PlannedFile IosIcon(const QString& path, int pixels) {
    const QList<CatalogImage> images = Images();
    const auto light = std::find_if(images.begin(), images.end(), [](const CatalogImage& image) {
        return image.platform == u"ios" && image.appearance.isEmpty();
    });
    return Picture(path, *light, pixels);
}

QList<PlannedFile> Plan(const QString& name) {
    const QString folder = name + QStringLiteral(".appiconset/");
    QList<PlannedFile> files;
    QJsonArray entries;
    for (const CatalogImage& image : Images()) {
        const int pixels = image.size * std::max(1, image.scale);
        files.append(Picture(folder + FileName(image), image, pixels));
        entries.append(Entry(image));
    }
    const QJsonObject contents{
        {"images", entries},
        {"info", QJsonObject{{"author", "sigilon"}, {"version", 1}}},
    };
    files.append({folder + QStringLiteral("Contents.json"),
                  PlannedFile::Kind::Text,
                  {},
                  QJsonDocument(contents).toJson()});
    return files;
}

} // namespace AssetCatalogWriter
