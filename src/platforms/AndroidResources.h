#pragma once

#include "platforms/PlannedFile.h"

#include <QList>

// The Android launcher resources under "android/res": the legacy and round icons and the
// adaptive layers (background, foreground, monochrome) for every screen density, the
// adaptive-icon XML that joins the layers from Android 8 on, and the 512-pixel store icon.
namespace AndroidResources {

QList<PlannedFile> Plan();

} // namespace AndroidResources
