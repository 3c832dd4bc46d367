#pragma once

#include "platforms/PlannedFile.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <utility>

// The Android launcher resources under "android/res": the legacy and round icons and the
// adaptive layers (background, foreground, monochrome) for every screen density, the
// adaptive-icon XML that joins the layers from Android 8 on, and the 512-pixel store icon.
namespace AndroidResources {

QList<PlannedFile> Plan();

// One launcher picture of each density: `name` drawn as `variant`, 48 units (the legacy
// icon) or, for an adaptive layer, 108.
struct LauncherPicture {
    const char* name;
    PlatformVariant variant;
    bool layer;
};

// `root`mipmap-<density>/<name>.png for every density and picture.
QList<PlannedFile> MipmapPictures(const QString& root, const QList<LauncherPicture>& pictures);

// An <adaptive-icon> whose layers (background, foreground, monochrome) name these resources.
QByteArray AdaptiveIconXml(const QList<std::pair<const char*, QString>>& layers);

} // namespace AndroidResources
