#pragma once

#include <QString>

// Why the file `name` (relative to `folder`, "/" separating subfolders) may not be written, or
// an empty string when it may. Every file an export writes stays inside the output folder: a
// name that leaves it (an absolute name, a ".." part) is refused, and so is a subfolder on the
// way that is a symbolic link, which would lead the files to wherever it points. Subfolders
// that do not exist yet are fine: the export creates real ones. The output folder itself may
// be a link; the user chose it.
QString OutputNameProblem(const QString& folder, const QString& name);
