#pragma once

#include "design/DesignSettings.h"
#include "export/ExportRun.h"

#include <QImage>
#include <QString>

// `sigilon export`: writes the size list the settings choose, in their format, quality and
// name pattern, from `rendering` (the design at canvas size) into `outputDir`, through the
// editor's own export run. Existing files are kept ("Skipped: PATH" on standard error) unless
// `overwrite`. Each written path goes to standard output, the summary to standard error.
// Returns 0 when every file was written or kept, 1 otherwise (a missing or unwritable folder
// included).
int RunExportCommand(const DesignSettings& settings, const QImage& rendering,
                     const QString& outputDir, bool overwrite);

// Empty when files can be written into `folder`, else the message saying what is wrong.
QString ExportFolderProblem(const QString& folder);

// Reports one settled file as the export command does: a written path on standard output,
// "Skipped: PATH" or "Could not save: PATH" on standard error.
void PrintFileResult(const ExportRun::FileResult& file);
