#pragma once

#include "platforms/PlannedFile.h"
#include "platforms/PlatformSetOptions.h"

#include <QList>

// The icons of a web app under "web": the favicon, as ICO and as an SVG with a dark look for
// a dark colour scheme (see SvgDarkStyle), the manifest icons for any use, for
// maskable use and as a monochrome silhouette, the touch icon that home screens take, the
// manifest that installs the app under `options.appName` in the options' colours, and
// head.html, the tags a page's head needs to use them all.
namespace WebManifest {

QList<PlannedFile> Plan(const PlatformSetOptions& options);

} // namespace WebManifest
