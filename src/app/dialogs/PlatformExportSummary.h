#pragma once

#include "platforms/PlatformExport.h"

#include <QString>

// The one message that ends a platform export, short enough for any screen however many files
// failed: how many of the planned files were written, skipped (kept as they were) and failed,
// one sentence with the commonest cause of the failures, an icon image that could not be drawn,
// what a cancel left unwritten, and the notes about the pictures. Each failed file is listed in the
// details.
struct PlatformExportSummary {
    QString message;
    QString details; // "path: reason" for each failed file, one a line; empty when none failed

    static PlatformExportSummary Of(const PlatformExport::Result& result, int planned);
};
