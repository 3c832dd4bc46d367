#pragma once

#include "platforms/PlatformExport.h"

#include <QString>

// The one message that ends a platform export: how many of the `planned` files were
// written, skipped (kept as they were) and failed, each failure with its path and reason,
// what a cancel left unwritten, and the notes about the pictures.
QString PlatformExportSummary(const PlatformExport::Result& result, int planned);
