#include "platforms/AndroidResources.h"

#include "platforms/AndroidDensities.h"

#include <QXmlStreamWriter>

namespace AndroidResources {

namespace {

// The legacy icon is 48 units square, an adaptive layer 108.
constexpr int IconUnits = 48;
constexpr int LayerUnits = 108;

constexpr int StoreIconPixels = 512;

} // namespace

QByteArray AdaptiveIconXml(const QList<std::pair<const char*, QString>>& layers) {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement("adaptive-icon");
    writer.writeNamespace("http://schemas.android.com/apk/res/android", "android");
    for (const auto& [layer, drawable] : layers) {
        writer.writeEmptyElement(layer);
        writer.writeAttribute("android:drawable", drawable);
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

QList<PlannedFile> MipmapPictures(const QString& root, const QList<LauncherPicture>& pictures) {
    QList<PlannedFile> files;
    for (const AndroidDensity& density : AndroidDensities) {
        const QString folder = root + QStringLiteral("mipmap-%1/").arg(density.name);
        for (const LauncherPicture& picture : pictures)
            files.append(PictureFile(folder + QLatin1String(picture.name) + QStringLiteral(".png"),
                                     picture.variant,
                                     density.Pixels(picture.layer ? LayerUnits : IconUnits)));
    }
    return files;
}

QList<PlannedFile> Plan() {
    const QString res = QStringLiteral("android/res/");
    QList<PlannedFile> files =
        MipmapPictures(res, {{"ic_launcher", PlatformVariant::AsDrawn, false},
                             {"ic_launcher_round", PlatformVariant::Round, false},
                             {"ic_launcher_background", PlatformVariant::Background, true},
                             {"ic_launcher_foreground", PlatformVariant::Foreground, true},
                             {"ic_launcher_monochrome", PlatformVariant::Monochrome, true}});
    QList<std::pair<const char*, QString>> layers;
    for (const char* layer : {"background", "foreground", "monochrome"})
        layers.append({layer, QStringLiteral("@mipmap/ic_launcher_%1").arg(layer)});
    const QByteArray xml = AdaptiveIconXml(layers);
    for (const char* name : {"ic_launcher", "ic_launcher_round"})
        files.append({res + QStringLiteral("mipmap-anydpi-v26/%1.xml").arg(name),
                      PlannedFile::Kind::Text,
                      {},
                      xml});
    files.append(PictureFile(QStringLiteral("android/play-store-512.png"),
                             PlatformVariant::FullBleed, StoreIconPixels));
    return files;
}

} // namespace AndroidResources
