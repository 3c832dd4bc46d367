#pragma once

#include "platforms/PlannedFile.h"

#include <QList>

// The logo files a Windows app package's manifest names, in msix/Assets/: each logo at the five
// scale factors, the taskbar logo also at its target sizes, plated and unplated.
namespace MsixAssets {

QList<PlannedFile> Plan();

} // namespace MsixAssets
