#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// A recovery file found in the state folder, as far as its name, its lock and its header tell.
struct FoundRecoveryFile {
    QString name;
    bool editorRunning = false; // its editor holds the file's lock, so the file is still in use
    bool readable = false;      // it holds a complete record
    QDateTime savedAt;          // when readable
};

// The file to offer at start-up: of those whose editor is gone, the one written last (on a tie
// the first by name, so two starts choose alike). nullopt when there is none.
std::optional<qsizetype> ChooseLeftOver(const QList<FoundRecoveryFile>& files);

// Files that can never be offered: their editor is gone and they hold no record. Removing them
// keeps the folder from filling up with them.
QList<qsizetype> UnusableLeftOvers(const QList<FoundRecoveryFile>& files);
