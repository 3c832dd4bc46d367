#pragma once

#include <QString>

// Profile files hold one profile text as UTF-8 without a byte-order mark.

// Reads the file's text; false when it cannot be read, is not an ordinary file of at most
// 16 MiB, or is not valid UTF-8.
bool ReadProfileFile(const QString& path, QString& text);

// Writes the text atomically: the existing file stays as it was until the new one is
// complete, so a failed save never damages it. False when the file could not be written.
bool WriteProfileFile(const QString& path, const QString& text);
