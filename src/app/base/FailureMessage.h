#pragma once

#include <QString>

// What the user reads when an operation on a file failed: what failed, the file, and the
// reason, one to a line, e.g. "Could not save profile.", the path, "Permission denied".
namespace FailureMessage {

QString Compose(const QString& what, const QString& path, const QString& reason);

// The reason a file that was to be read could not be, as far as the file system tells.
QString ReadProblem(const QString& path);

// The reason for bytes that were read but are not what they should be.
QString DamagedContent();

} // namespace FailureMessage
