#pragma once

#include <QString>

// Profile files hold one profile text as UTF-8 without a byte-order mark.

// Reads the file's text; false when it cannot be read, is not an ordinary file of at most
// 16 MiB, or is not valid UTF-8.
bool ReadProfileFile(const QString& path, QString& text);

struct ProfileWriteResult {
    bool written = false;
    QString reason; // the system's reason when the file was not written

    explicit operator bool() const { return written; }
};

// Writes the text atomically: the existing file stays as it was until the new one is
// complete, so a failed save never damages it.
[[nodiscard]] ProfileWriteResult WriteProfileFile(const QString& path, const QString& text);
