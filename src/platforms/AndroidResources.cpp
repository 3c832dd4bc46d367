#include "platforms/AndroidResources.h"

#include <QXmlStreamWriter>

#include <array>

namespace AndroidResources {

namespace {

struct Density {
    const char* name;
    int icon;  // the legacy icon: 48 units at this density
    int layer; // an adaptive layer: 108 units
};

constexpr std::array<Density, 5> Densities{{
    {"mdpi", 48, 108},
    {"hdpi", 72, 162},
    {"xhdpi", 96, 216},
    {"xxhdpi", 144, 324},
    {"xxxhdpi", 192, 432},
}};

constexpr int StoreIconPixels = 512;

// An <adaptive-icon> naming the three layers of every density.
QByteArray AdaptiveIconXml() {
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement("adaptive-icon");
    writer.writeNamespace("http://schemas.android.com/apk/res/android", "android");
    for (const char* layer : {"background", "foreground", "monochrome"}) {
        writer.writeEmptyElement(layer);
        writer.writeAttribute("android:drawable",
                              QStringLiteral("@mipmap/ic_launcher_%1").arg(layer));
    }
    writer.writeEndElement();
    writer.writeEndDocument();
    return xml;
}

} // namespace

QList<PlannedFile> Plan() {
    const QString res = QStringLiteral("android/res/");
    QList<PlannedFile> files;
    for (const Density& density : Densities) {
        const QString folder = res + QStringLiteral("mipmap-%1/").arg(density.name);
        auto png = [&](const char* name, PlatformVariant variant, int pixels) {
            files.append({folder + QLatin1String(name) + QStringLiteral(".png"),
                          PlannedFile::Kind::Png,
                          {{variant, pixels}},
                          {}});
        };
        png("ic_launcher", PlatformVariant::AsDrawn, density.icon);
        png("ic_launcher_round", PlatformVariant::Round, density.icon);
        png("ic_launcher_background", PlatformVariant::Background, density.layer);
        png("ic_launcher_foreground", PlatformVariant::Foreground, density.layer);
        png("ic_launcher_monochrome", PlatformVariant::Monochrome, density.layer);
    }
    const QByteArray xml = AdaptiveIconXml();
    for (const char* name : {"ic_launcher", "ic_launcher_round"})
        files.append({res + QStringLiteral("mipmap-anydpi-v26/%1.xml").arg(name),
                      PlannedFile::Kind::Text,
                      {},
                      xml});
    files.append({QStringLiteral("android/play-store-512.png"),
                  PlannedFile::Kind::Png,
                  {{PlatformVariant::FullBleed, StoreIconPixels}},
                  {}});
    return files;
}

} // namespace AndroidResources
