#pragma once

#include <QByteArray>

// The hidden temporary files this process has created and not yet renamed or removed, so that
// a process told to end can remove them first instead of leaving them in the user's folders.
namespace OwnTemporaryFiles {

// Creates a new, empty file at `path` with the permissions of any new file (0666 less the
// umask) and records it as this process's own. The descriptor, or -1 with errno set (EEXIST
// when something is already there). Creating and recording are one step: a termination in
// between cannot miss the file.
int Create(const QByteArray& path);

// The file at `path` is no longer this process's temporary: it was renamed into place or
// removed.
void Release(const QByteArray& path);

// Removes every recorded file. From here on no temporary file is created: the process is
// ending.
void RemoveAllForExit();

// Called after each file Create makes, while it is still recorded; lets a test end the process
// at exactly that point. Null for none.
void SetCreatedHookForTesting(void (*hook)());

} // namespace OwnTemporaryFiles
