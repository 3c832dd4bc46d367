#pragma once

#include "recovery/RecoveryRecord.h"
#include "recovery/RecoveryStore.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class QLockFile;

// The recovery files of the editors of one user, in a folder of their own. Each editor keeps one
// record, named after its process and a random part, and the copy of its icon image beside it,
// next to a lock file it holds for as long as it runs: so two editors at once never write or
// take each other's files, and a record whose lock nobody holds was left by an editor that did
// not end cleanly (a normal end removes its files).
// Write and RemoveOwn may run on a thread of their own while the left-over is taken on another:
// the two halves share nothing that changes.
class RecoveryFolder : public RecoveryStore {
public:
    // $XDG_STATE_HOME/sigilon when XDG_STATE_HOME is an absolute path, else the application's
    // local data folder.
    static QString StandardPath();

    explicit RecoveryFolder(QString folder = StandardPath());
    // Lets go of the locks; files still there stay for the next start to offer.
    ~RecoveryFolder() override;
    RecoveryFolder(const RecoveryFolder&) = delete;
    RecoveryFolder& operator=(const RecoveryFolder&) = delete;

    const QString& folder() const { return m_folder; }
    QString ownFilePath() const;

    // Replaces this editor's record, atomically, creating the folder (private to the user) when
    // it is missing. The image's bytes are written to a copy of their own only when they differ
    // from the copy already written, before the record that names it; a copy no record names
    // any more is removed. The failure says why in words for the user.
    WriteResult Write(const RecoveryRecord& record) override;
    // Removes this editor's record, when there is one, and then its image copy.
    void RemoveOwn() override;

    // The record in the recovery file at `path`, with the bytes of the image copy it names
    // (left empty when that copy is gone); nullopt for a file that holds no record.
    static std::optional<RecoveryRecord> ReadRecord(const QString& path);

    // The newest record left by an editor that is gone, held for this editor alone until it is
    // discarded or released; the files of gone editors that can never be offered (no record,
    // or an image copy no record names) are removed. nullopt when there is none (one taken
    // before is released first).
    std::optional<RecoveryRecord> TakeLeftOver();
    // Removes the record taken, its image copy and its lock.
    void DiscardTaken();
    // Leaves the record taken for a later start to offer again.
    void ReleaseTaken();

private:
    QString FilePath(const QString& name) const;
    QString NewCopyName();
    // Every image copy of the editor `stem` but `kept`.
    void RemoveCopies(const QString& stem, const QString& kept = {}) const;

    const QString m_folder;
    const QString m_ownStem;
    // The writing half.
    std::unique_ptr<QLockFile> m_ownLock;
    QString m_namedCopy;  // the copy the record written names; empty for none
    QString m_newestCopy; // the copy written last, named or about to be
    QByteArray m_newestCopyBytes;
    int m_copiesWritten = 0; // each copy a new name, so a record never names a changed file
    // The taking half.
    QString m_takenStem;
    std::unique_ptr<QLockFile> m_takenLock;
};
