#pragma once

#include "cli/DesignInput.h"
#include "platforms/PlatformTargets.h"
#include "render/Badge.h"

#include <QList>
#include <QString>

// `sigilon export` with its targets: the profile's own size list ("sizes") and the platform
// sets, named `name` and telling people the app's name `appName` (empty for `name`), under
// `outputDir`. A design that no platform set can take (not square), an unusable folder or an
// SVG icon image whose drawing the image helper refuses writes nothing (and leaves no folder it
// made). Existing files are kept ("Skipped: PATH") unless `overwrite`; written paths are listed
// unless `quiet`, the platform sets' before the size list's. A set `badge` is drawn into every
// set. Returns 0 when every file was written or kept, 1 otherwise.
int RunPlatformExportCommand(const DesignInput& input, const QList<PlatformTarget>& targets,
                             const QString& name, const QString& appName, const QString& outputDir,
                             bool overwrite, bool quiet, const Badge& badge);
