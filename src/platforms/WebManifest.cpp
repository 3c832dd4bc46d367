#include "platforms/WebManifest.h"

#include "render/SvgWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace WebManifest {

namespace {

const QString Folder = QStringLiteral("web/");
const QString Favicon = QStringLiteral("favicon.ico");
const QString VectorIcon = QStringLiteral("icon.svg");
const QString TouchIcon = QStringLiteral("apple-touch-icon.png");
const QString Manifest = QStringLiteral("manifest.webmanifest");

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
    // A browser draws the silhouette's coverage in a colour of its own, as for a badge.
    {"icon-monochrome-512.png", 512, PlatformVariant::Monochrome, "monochrome"},
};

PlannedFile Png(const QString& name, PlatformVariant variant, int pixels) {
    return PictureFile(Folder + name, variant, pixels);
}

QString Hex(const QColor& color) {
    return color.name(QColor::HexRgb);
}

QByteArray ManifestText(const PlatformSetOptions& options) {
    QJsonArray icons;
    for (const ManifestIcon& icon : Icons) {
        icons.append(QJsonObject{
            {"src", QLatin1String(icon.name)},
            {"sizes", QStringLiteral("%1x%1").arg(icon.pixels)},
            {"type", "image/png"},
            {"purpose", QLatin1String(icon.purpose)},
        });
    }
    icons.append(QJsonObject{
        {"src", VectorIcon},
        {"sizes", "any"},
        {"type", "image/svg+xml"},
        {"purpose", "any"},
    });
    return QJsonDocument(QJsonObject{
                             {"name", options.appName},
                             {"short_name", options.appName},
                             {"start_url", "."},
                             {"display", "standalone"},
                             {"theme_color", Hex(options.themeColor)},
                             {"background_color", Hex(options.backgroundColor)},
                             {"icons", icons},
                         })
        .toJson();
}

// Relative paths, so the tags work wherever the folder is served from; every attribute is
// in double quotes, which is what the escaping of the app name relies on.
QByteArray HeadText(const PlatformSetOptions& options) {
    const QStringList lines{
        // With its size given, a browser that reads both icons does not prefer the ICO to the
        // SVG, which suits any size.
        QStringLiteral(R"(<link rel="icon" href="%1" sizes="32x32">)").arg(Favicon),
        QStringLiteral(R"(<link rel="icon" href="%1" type="image/svg+xml">)").arg(VectorIcon),
        QStringLiteral(R"(<link rel="apple-touch-icon" href="%1">)").arg(TouchIcon),
        QStringLiteral(R"(<link rel="manifest" href="%1">)").arg(Manifest),
        QStringLiteral(R"(<meta name="theme-color" content="%1">)").arg(Hex(options.themeColor)),
        // Home screens that do not read the manifest label the icon with this.
        QStringLiteral(R"(<meta name="apple-mobile-web-app-title" content="%1">)")
            .arg(options.appName.toHtmlEscaped()),
    };
    return (lines.join(u'\n') + u'\n').toUtf8();
}

PlannedFile Text(const QString& name, const QByteArray& text) {
    return {Folder + name, PlannedFile::Kind::Text, {}, text};
}

} // namespace

QList<PlannedFile> Plan(const PlatformSetOptions& options) {
    QList<PlannedFile> files;
    files.append({Folder + Favicon,
                  PlannedFile::Kind::Ico,
                  {{PlatformVariant::AsDrawn, 16},
                   {PlatformVariant::AsDrawn, 32},
                   {PlatformVariant::AsDrawn, 48}},
                  {}});
    for (const ManifestIcon& icon : Icons)
        files.append(Png(QLatin1String(icon.name), icon.variant, icon.pixels));
    // Home screens put the touch icon on black where it is transparent: it is full bleed.
    files.append(Png(TouchIcon, PlatformVariant::FullBleed, 180));
    files.append({Folder + VectorIcon,
                  PlannedFile::Kind::Generated,
                  {},
                  {},
                  [design = options.design, badge = options.badge] {
                      return SvgDocument(design, {.darkColorScheme = true, .badge = badge});
                  }});
    files.append(Text(Manifest, ManifestText(options)));
    files.append(Text(QStringLiteral("head.html"), HeadText(options)));
    return files;
}

} // namespace WebManifest
