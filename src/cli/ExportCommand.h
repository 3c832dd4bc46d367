#pragma once

#include "design/DesignSettings.h"
#include "export/ExportRun.h"
#include "render/Badge.h"

#include <QImage>
#include <QString>

// `sigilon export`: writes the size list the settings choose, in their format, quality and
// name pattern, from `rendering` (the design at canvas size) into `outputDir`, through the
// editor's own export run; a missing folder is created with its parents. Existing files are
// kept ("Skipped: PATH" on standard error) unless `overwrite`; a set `badge` is drawn on every
// size. Each written path goes to
// standard output unless `quiet`, the summary to standard error. Returns 0 when every file
// was written or kept, 1 otherwise (a folder that cannot be created or written included).
int RunExportCommand(const DesignSettings& settings, const QImage& rendering,
                     const QString& outputDir, bool overwrite, bool quiet, const Badge& badge = {});

// Creates `folder` with its parents when it is missing, so a script need not; returns empty
// when files can be written into it, else the message saying what is wrong with it.
QString ExportFolderProblem(const QString& folder);

// What ExportFolderProblem would create: `folder` and those of its parents that are missing,
// as absolute paths, `folder` first.
QStringList MissingFolders(const QString& folder);

// Reports one settled file as the export command does: a written path on standard output
// (unless `quiet`), "Skipped: PATH" or "Could not save: PATH (REASON)" on standard error.
void PrintFileResult(const ExportRun::FileResult& file, bool quiet);
