#include "platforms/WebManifest.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace WebManifest {

namespace {

const QString Folder = QStringLiteral("web/");

struct ManifestIcon {
    const char* name;
    int pixels;
    PlatformVariant variant;
    const char* purpose;
};

constexpr ManifestIcon Icons[] = {
    {"icon-192.png", 192, PlatformVariant::AsDrawn, "any"},
    {"icon-512.png", 512, PlatformVariant::AsDrawn, "any"},
    {"icon-maskable-192.png", 192, PlatformVariant::Maskable, "maskable"},
    {"icon-maskable-512.png", 512, PlatformVariant::Maskable, "maskable"},
};

PlannedFile Png(const QString& name, PlatformVariant variant, int pixels) {
    return {Folder + name, PlannedFile::Kind::Png, {{variant, pixels}}, {}};
}

} // namespace

QList<PlannedFile> Plan() {
    QList<PlannedFile> files;
    files.append({Folder + QStringLiteral("favicon.ico"),
                  PlannedFile::Kind::Ico,
                  {{PlatformVariant::AsDrawn, 16},
                   {PlatformVariant::AsDrawn, 32},
                   {PlatformVariant::AsDrawn, 48}},
                  {}});
    QJsonArray icons;
    for (const ManifestIcon& icon : Icons) {
        files.append(Png(QLatin1String(icon.name), icon.variant, icon.pixels));
        icons.append(QJsonObject{
            {"src", QLatin1String(icon.name)},
            {"sizes", QStringLiteral("%1x%1").arg(icon.pixels)},
            {"type", "image/png"},
            {"purpose", QLatin1String(icon.purpose)},
        });
    }
    // Home screens put the touch icon on black where it is transparent: it is full bleed.
    files.append(Png(QStringLiteral("apple-touch-icon.png"), PlatformVariant::FullBleed, 180));
    files.append({Folder + QStringLiteral("manifest.webmanifest"),
                  PlannedFile::Kind::Text,
                  {},
                  QJsonDocument(QJsonObject{{"icons", icons}}).toJson()});
    return files;
}

} // namespace WebManifest
