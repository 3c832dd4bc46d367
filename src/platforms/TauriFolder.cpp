#include "platforms/TauriFolder.h"

#include "platforms/IcnsWriter.h"

namespace TauriFolder {

namespace {

PlannedFile Png(const QString& name, PlatformVariant variant, int pixels) {
    return {QStringLiteral("tauri/") + name, PlannedFile::Kind::Png, {{variant, pixels}}, {}};
}

} // namespace

QList<PlannedFile> Plan() {
    QList<PlannedFile> files;
    for (int pixels : {32, 64, 128})
        files.append(
            Png(QStringLiteral("%1x%1.png").arg(pixels), PlatformVariant::AsDrawn, pixels));
    files.append(Png(QStringLiteral("128x128@2x.png"), PlatformVariant::AsDrawn, 256));
    files.append(Png(QStringLiteral("icon.png"), PlatformVariant::AsDrawn, 512));
    files.append({QStringLiteral("tauri/icon.icns"),
                  PlannedFile::Kind::Icns,
                  SquarePictures(PlatformVariant::MacGrid, IcnsWriter::Sizes()),
                  {}});
    files.append({QStringLiteral("tauri/icon.ico"),
                  PlannedFile::Kind::Ico,
                  SquarePictures(PlatformVariant::AsDrawn, {16, 24, 32, 48, 64, 256}),
                  {}});
    for (int units : {30, 44, 71, 89, 107, 142, 150, 284, 310})
        files.append(Png(QStringLiteral("Square%1x%1Logo.png").arg(units),
                         PlatformVariant::FullBleed, units));
    files.append(Png(QStringLiteral("StoreLogo.png"), PlatformVariant::FullBleed, 50));
    return files;
}

} // namespace TauriFolder
