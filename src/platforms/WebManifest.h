#pragma once

#include "platforms/PlannedFile.h"

#include <QList>

// The icons of a web app under "web": the favicon, the manifest icons for any use and for
// maskable use, the touch icon that home screens take, and the manifest that lists them.
namespace WebManifest {

QList<PlannedFile> Plan();

} // namespace WebManifest
