#pragma once

#include <QDir>
#include <QDirIterator>
#include <QSet>
#include <QString>
#include <QStringList>

namespace FolderListing {

// Every entry of those `kinds` under `folder`, hidden ones too (where a half-written temporary
// would hide), as paths relative to it.
inline QSet<QString> Under(const QString& folder, QDir::Filters kinds) {
    QSet<QString> entries;
    QDirIterator it(folder, kinds | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries.insert(QDir(folder).relativeFilePath(it.next()));
    return entries;
}

inline QSet<QString> FilesUnder(const QString& folder) {
    return Under(folder, QDir::Files);
}

// The files and the folders, empty ones too.
inline QSet<QString> EntriesUnder(const QString& folder) {
    return Under(folder, QDir::AllEntries);
}

// The names of everything directly in `folder`, hidden entries too, sorted.
inline QStringList EntriesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                  QDir::NoDotAndDotDot);
}

} // namespace FolderListing
