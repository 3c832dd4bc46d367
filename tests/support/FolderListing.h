#pragma once

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QString>

namespace FolderListing {

// Every file under `folder`, hidden ones too (where a half-written temporary would hide), as
// paths relative to it.
inline QSet<QString> FilesUnder(const QString& folder) {
    QSet<QString> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        files.insert(QDir(folder).relativeFilePath(it.next()));
    return files;
}

} // namespace FolderListing
