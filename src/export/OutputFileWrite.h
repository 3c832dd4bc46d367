#pragma once

#include "export/AtomicFileWrite.h"

#include <QByteArray>
#include <QString>

// Puts `data` at `path` as every export writes its files. Nothing there, a regular file and a
// symbolic link are handled by WriteFileAtomically. A pipe or a character device (also one a
// link points to) is written to directly, never replaced; a pipe no program reads from is a
// failure rather than a wait. A link that names standard output or standard error (such as
// /dev/stdout or /proc/self/fd/1) writes to that stream. Anything else there (a folder, a
// socket, a block device) is never replaced: a failure that names the path.
WriteResult WriteOutputFile(const QString& path, const QByteArray& data);

// Writes `data` to a descriptor the process was given, such as standard output. A reader that
// went away is a failure, not the end of the process.
WriteResult WriteToDescriptor(int fd, const QByteArray& data);
