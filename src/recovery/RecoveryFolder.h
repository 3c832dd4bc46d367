#pragma once

#include "export/AtomicFileWrite.h"
#include "recovery/RecoveryRecord.h"

#include <QString>

#include <memory>
#include <optional>

class QLockFile;

// The recovery files of the editors of one user, in a folder of their own. Each editor keeps one
// file, named after its process and a random part, beside a lock file it holds for as long as it
// runs: so two editors at once never write or take each other's file, and a file whose lock nobody
// holds was left by an editor that did not end cleanly (a normal end removes its file).
class RecoveryFolder {
public:
    // $XDG_STATE_HOME/sigilon when XDG_STATE_HOME is an absolute path, else the application's
    // local data folder.
    static QString StandardPath();

    explicit RecoveryFolder(QString folder = StandardPath());
    // Lets go of the locks; a file still there stays for the next start to offer.
    ~RecoveryFolder();
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const QString& folder() const { return m_folder; }
    QString ownFilePath() const;

    // Replaces this editor's file with the record, atomically, creating the folder (private to
    // the user) when it is missing. The failure says why in words for the user.
    WriteResult Write(const RecoveryRecord& record);
    // Removes this editor's file, when there is one.
    void RemoveOwn();

    // The newest record left by an editor that is gone, held for this editor alone until it is
    // discarded or released; files that hold no record and whose editor is gone are removed.
    // nullopt when there is none (one taken before is released first).
    std::optional<RecoveryRecord> TakeLeftOver();
    // Removes the file taken, and its lock.
    void DiscardTaken();
    // Leaves the file taken for a later start to offer again.
    void ReleaseTaken();

private:
    QString FilePath(const QString& stem, const char* extension) const;

    QString m_folder;
    QString m_ownStem;
    std::unique_ptr<QLockFile> m_ownLock;
    QString m_takenStem;
    std::unique_ptr<QLockFile> m_takenLock;
};
