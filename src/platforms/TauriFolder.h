#pragma once

#include "platforms/PlannedFile.h"

#include <QList>

// The icons a Tauri app's bundle settings name, in tauri/: the desktop sizes, the macOS and
// Windows containers and the Windows Store tiles.
namespace TauriFolder {

QList<PlannedFile> Plan();

} // namespace TauriFolder
