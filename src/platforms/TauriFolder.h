#pragma once

#include "platforms/PlannedFile.h"
#include "platforms/PlatformSetOptions.h"

#include <QList>

// The icons a Tauri app's bundle settings name, in tauri/: the desktop sizes, the macOS and
// Windows containers and the Windows Store tiles, and the android/ and ios/ folders that the
// mobile projects copy their launcher icons from. The Android background is the colour the
// options give the top of the icon.
namespace TauriFolder {

QList<PlannedFile> Plan(const PlatformSetOptions& options);

} // namespace TauriFolder
