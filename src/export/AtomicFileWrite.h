#pragma once

#include <QByteArray>
#include <QString>

// The result of writing one output file: written, or why not in words for the user.
struct [[nodiscard]] WriteResult {
    QString failure; // empty when the file was written

    explicit operator bool() const { return failure.isEmpty(); }
};

// Whether a new file can be made in `folder` now: one is created and removed again, since
// permission bits do not tell the whole story (root, read-only mounts).
bool FolderTakesNewFiles(const QString& folder);

// Whether anything at all occupies `path`: a file, a folder, or a symbolic link, even one that
// points nowhere. A link is never followed, so a link at an output path counts as an existing
// item to be asked about rather than as the file it points to (or as nothing).
bool ItemExistsAt(const QString& path);

// Puts `data` at `path` as a regular file, replacing whatever is there by a rename: an existing
// file stays complete until the new one is, and a symbolic link at `path` is itself replaced,
// never the file it points to. On any failure the temporary file is removed and the old item
// stays as it was.
WriteResult WriteFileAtomically(const QString& path, const QByteArray& data);
