#pragma once

#include "design/IconDesign.h"
#include "export/ExportRun.h"
#include "platforms/PlannedFile.h"

#include <QList>
#include <QString>
#include <QStringList>

// Writes the planned files of platform sets into a folder: every picture drawn from the design
// once, every file encoded and then written atomically, the folders a file needs created.
namespace PlatformExport {

struct Result {
    QList<ExportRun::FileResult> files; // one per planned file, in plan order
    QStringList notes;                  // what the user should know about the pictures

    bool AllWritten() const;
};

// Empty when the design can be exported as platform sets, else the message for the user:
// every platform asks for square icons.
QString DesignProblem(const IconDesign& design);

// Writes `plan` under `folder`. Existing files are kept unless `overwrite`; a file that
// cannot be written fails alone, the others are still written. `threads` as for rendering.
Result Run(const IconDesign& design, const QList<PlannedFile>& plan, const QString& folder,
           bool overwrite, int threads = 0);

} // namespace PlatformExport
