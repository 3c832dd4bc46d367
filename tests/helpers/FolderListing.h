#pragma once

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QString>
#include <QStringList>

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

// The names of everything directly in `folder`, hidden entries too, sorted.
inline QStringList EntriesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace FolderListing
