#include "platforms/TauriFolder.h"

#include "platforms/AndroidResources.h"
#include "platforms/AssetCatalogWriter.h"
#include "platforms/IcnsWriter.h"

#include <QXmlStreamWriter>

#include <cmath>

namespace TauriFolder {

namespace {

const QString kFolder = QStringLiteral("tauri/");

PlannedFile Png(const QString& name, PlatformVariant variant, int pixels) {
    return PictureFile(kFolder + name, variant, pixels);
}

// The iOS app icon's sizes before the single 1024-point one, each at the scales the devices
// use; a second 2x copy ("@2x-1") serves the entry that Xcode's older templates list twice.
QList<PlannedFile> IosIcons() {
    const struct {
        double points;
        QList<const char*> scales;
    } sizes[] = {
        {20, {"1x", "2x", "2x-1", "3x"}},
        {29, {"1x", "2x", "2x-1", "3x"}},
        {40, {"1x", "2x", "2x-1", "3x"}},
        {60, {"2x", "3x"}},
        {76, {"1x", "2x"}},
        {83.5, {"2x"}},
    };
    QList<PlannedFile> files;
    for (const auto& size : sizes) {
        const QString points = QString::number(size.points);
        for (const char* scale : size.scales) {
            const int pixels = int(std::lround(size.points * (scale[0] - '0')));
            files.append(AssetCatalogWriter::IosIcon(
                kFolder + QStringLiteral("ios/AppIcon-%1x%1@%2.png").arg(points, scale), pixels));
        }
    }
    files.append(
        AssetCatalogWriter::IosIcon(kFolder + QStringLiteral("ios/AppIcon-512@2x.png"), 1024));
    return files;
}

QByteArray BackgroundColorXml(const QColor& color) {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement("resources");
    writer.writeStartElement("color");
    writer.writeAttribute("name", "ic_launcher_background");
    writer.writeCharacters(color.name(QColor::HexRgb).toUpper());
    writer.writeEndElement();
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

// The launcher icons of the Android project: the legacy and round icons, the adaptive icon's
// foreground over a plain background colour.
QList<PlannedFile> AndroidIcons(const QColor& background) {
    const QString android = kFolder + QStringLiteral("android/");
    QList<PlannedFile> files = AndroidResources::MipmapPictures(
        android, {{"ic_launcher", PlatformVariant::AsDrawn, false},
                  {"ic_launcher_round", PlatformVariant::Round, false},
                  {"ic_launcher_foreground", PlatformVariant::Foreground, true}});
    files.append({android + QStringLiteral("mipmap-anydpi-v26/ic_launcher.xml"),
                  PlannedFile::Kind::Text,
                  {},
                  AndroidResources::AdaptiveIconXml(
                      {{"background", QStringLiteral("@color/ic_launcher_background")},
                       {"foreground", QStringLiteral("@mipmap/ic_launcher_foreground")}})});
    files.append({android + QStringLiteral("values/ic_launcher_background.xml"),
                  PlannedFile::Kind::Text,
                  {},
                  BackgroundColorXml(background)});
    return files;
}

} // namespace

QList<PlannedFile> Plan(const PlatformSetOptions& options) {
    QList<PlannedFile> files;
    for (int pixels : {32, 64, 128})
        files.append(
            Png(QStringLiteral("%1x%1.png").arg(pixels), PlatformVariant::AsDrawn, pixels));
    files.append(Png(QStringLiteral("128x128@2x.png"), PlatformVariant::AsDrawn, 256));
    files.append(Png(QStringLiteral("icon.png"), PlatformVariant::AsDrawn, 512));
    files.append({kFolder + QStringLiteral("icon.icns"),
                  PlannedFile::Kind::Icns,
                  SquarePictures(PlatformVariant::MacGrid, IcnsWriter::Sizes()),
                  {}});
    files.append({kFolder + QStringLiteral("icon.ico"),
                  PlannedFile::Kind::Ico,
                  SquarePictures(PlatformVariant::AsDrawn, {16, 24, 32, 48, 64, 256}),
                  {}});
    for (int units : {30, 44, 71, 89, 107, 142, 150, 284, 310})
        files.append(Png(QStringLiteral("Square%1x%1Logo.png").arg(units),
                         PlatformVariant::FullBleed, units));
    files.append(Png(QStringLiteral("StoreLogo.png"), PlatformVariant::FullBleed, 50));
    files.append(IosIcons());
    files.append(AndroidIcons(options.themeColor));
    return files;
}

} // namespace TauriFolder
