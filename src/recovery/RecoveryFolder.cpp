#include "recovery/RecoveryFolder.h"

#include "recovery/LeftOverChoice.h"
#include "support/OrdinaryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QStandardPaths>

#include <vector>

namespace {

const QString kStemPrefix = QStringLiteral("editor-");
constexpr const char* kRecoveryExtension = ".recovery";
constexpr const char* kLockExtension = ".lock";

// Far more than a profile text and the largest icon image kept with it.
constexpr qint64 kLargestRecoveryFile = qint64(256) << 20;

// A lock held for an editor's whole run is stale only when its process is gone, never for its
// age. The lock is taken when it can be at once.
std::unique_ptr<QLockFile> TryLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    lock->setStaleLockTime(0);
    lock->tryLock(0);
    return lock;
}

QString LockFailure(const QLockFile& lock) {
    switch (lock.error()) {
    case QLockFile::PermissionError:
        return QStringLiteral("The folder does not take new files.");
    case QLockFile::LockFailedError:
        return QStringLiteral("Another editor holds the file.");
    default:
        return QStringLiteral("The lock file could not be written (is the disk full?).");
    }
}

} // namespace

QString RecoveryFolder::StandardPath() {
    const QString stateHome = qEnvironmentVariable("XDG_STATE_HOME");
    if (QDir::isAbsolutePath(stateHome))
        return QDir(stateHome).filePath(QStringLiteral("sigilon"));
    return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
}

RecoveryFolder::RecoveryFolder(QString folder)
    : m_folder(std::move(folder)),
      // The process for people to read, and a random part, as a process number comes back.
      m_ownStem(kStemPrefix + QString::number(QCoreApplication::applicationPid()) + u'-' +
                QString::number(QRandomGenerator::global()->generate64(), 36)) {}

RecoveryFolder::~RecoveryFolder() = default;

QString RecoveryFolder::FilePath(const QString& stem, const char* extension) const {
    return QDir(m_folder).filePath(stem + QLatin1String(extension));
}

QString RecoveryFolder::ownFilePath() const {
    return FilePath(m_ownStem, kRecoveryExtension);
}

WriteResult RecoveryFolder::Write(const RecoveryRecord& record) {
    if (!m_ownLock) {
        const bool existed = QFileInfo(m_folder).isDir();
        if (!existed && !QDir().mkpath(m_folder))
            return {QStringLiteral("The folder could not be created.")};
        // The designs are the user's own business.
        if (!existed)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        std::unique_ptr<QLockFile> lock = TryLock(FilePath(m_ownStem, kLockExtension));
        if (!lock->isLocked())
            return {LockFailure(*lock)};
        m_ownLock = std::move(lock);
    }
    return WriteFileAtomically(ownFilePath(), RecoveryFileBytes(record));
}

void RecoveryFolder::RemoveOwn() {
    QFile::remove(ownFilePath());
}

std::optional<RecoveryRecord> RecoveryFolder::TakeLeftOver() {
    ReleaseTaken();
    const QStringList names =
        QDir(m_folder).entryList({kStemPrefix + u'*' + QLatin1String(kRecoveryExtension)},
                                 QDir::Files | QDir::Hidden, QDir::Name);
    QList<FoundRecoveryFile> found;
    std::vector<std::unique_ptr<QLockFile>> locks;
    QList<std::optional<RecoveryRecord>> records;
    for (const QString& name : names) {
        const QString stem = name.chopped(qstrlen(kRecoveryExtension));
        if (stem == m_ownStem)
            continue;
        FoundRecoveryFile file;
        file.name = stem;
        std::unique_ptr<QLockFile> lock = TryLock(FilePath(stem, kLockExtension));
        file.editorRunning = !lock->isLocked();
        std::optional<RecoveryRecord> record;
        QByteArray bytes;
        if (!file.editorRunning &&
            ReadOrdinaryFile(FilePath(stem, kRecoveryExtension), kLargestRecoveryFile, bytes))
            record = ReadRecoveryFileBytes(bytes);
        file.readable = record.has_value();
        if (record)
            file.savedAt = record->savedAt;
        found.append(file);
        locks.push_back(std::move(lock));
        records.append(std::move(record));
    }
    for (const qsizetype unusable : UnusableLeftOvers(found))
        QFile::remove(FilePath(found[unusable].name, kRecoveryExtension));
    const std::optional<qsizetype> chosen = ChooseLeftOver(found);
    if (!chosen)
        return std::nullopt;
    // Every other lock taken here goes with `locks`, leaving those files for later starts.
    m_takenStem = found[*chosen].name;
    m_takenLock = std::move(locks[*chosen]);
    return records[*chosen];
}

void RecoveryFolder::DiscardTaken() {
    if (m_takenLock)
        QFile::remove(FilePath(m_takenStem, kRecoveryExtension));
    ReleaseTaken();
}

void RecoveryFolder::ReleaseTaken() {
    m_takenLock.reset();
    m_takenStem.clear();
}
