#pragma once

#include "platforms/PlannedFile.h"

#include <QList>
#include <QString>

// The Xcode app icon set "NAME.appiconset": the single 1024-pixel iOS icon in its light, dark
// and tinted appearances, the single watchOS icon, the macOS sizes at 1x and 2x, and the
// Contents.json that names each of them.
namespace AssetCatalogWriter {

QList<PlannedFile> Plan(const QString& name);

// The light iOS icon drawn `pixels` wide as the set's own is (full bleed, no alpha channel),
// for the sets that carry iOS's older sizes.
PlannedFile IosIcon(const QString& path, int pixels);

} // namespace AssetCatalogWriter
