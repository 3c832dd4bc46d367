#pragma once

#include <QByteArray>
#include <QString>

// Reads a whole file that the user named, but only an ordinary file of at most `maxBytes`.
// A pipe would block the caller until something writes to it, and a device such as
// /dev/zero never ends; both, like folders, missing files and unreadable ones, give false
// at once. The type is checked on the opened file itself, so a path swapped for a pipe
// between a look and the open cannot block either.
bool ReadOrdinaryFile(const QString& path, qint64 maxBytes, QByteArray& bytes);
