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
const QString kRecordExtension = QStringLiteral(".recovery");
const QString kLockExtension = QStringLiteral(".lock");
const QString kCopyExtension = QStringLiteral(".image");

// Far more than a profile text, and than the largest icon image kept.
constexpr qint64 kLargestRecord = qint64(16) << 20;
constexpr qint64 kLargestCopy = qint64(256) << 20;

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

// The same bytes: most often the very array written before, shared, which needs no comparing.
bool SameBytes(const QByteArray& a, const QByteArray& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// The record in the file at `path` and the name of the image copy it names, with that copy's
// bytes. A record naming anything but a copy of its own editor was not written here.
std::optional<RecoveryRecord> ReadRecordFile(const QString& path, QString& copy) {
    QByteArray bytes;
    if (!ReadOrdinaryFile(path, kLargestRecord, bytes))
        return std::nullopt;
    std::optional<RecoveryRecord> record = ReadRecoveryFileBytes(bytes, &copy);
    if (!record || copy.isEmpty())
        return record;
    const QFileInfo file(path);
    const QString stem = file.fileName().chopped(kRecordExtension.size());
    if (!copy.startsWith(stem + u'.') || !copy.endsWith(kCopyExtension) || copy.contains(u'/'))
        return std::nullopt;
    // A copy gone since leaves the image's path, which is still worth the design.
    if (!ReadOrdinaryFile(file.dir().filePath(copy), kLargestCopy, record->imageBytes))
        record->imageBytes.clear();
    return record;
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

QString RecoveryFolder::FilePath(const QString& name) const {
    return QDir(m_folder).filePath(name);
}

QString RecoveryFolder::ownFilePath() const {
    return FilePath(m_ownStem + kRecordExtension);
}

QString RecoveryFolder::NewCopyName() {
    return m_ownStem + u'.' + QString::number(++m_copiesWritten) + kCopyExtension;
}

WriteResult RecoveryFolder::Write(const RecoveryRecord& record) {
    if (!m_ownLock) {
        const bool existed = QFileInfo(m_folder).isDir();
        if (!existed && !QDir().mkpath(m_folder))
            return {QStringLiteral("The folder could not be created.")};
        // The designs are the user's own business.
        if (!existed)
            QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        std::unique_ptr<QLockFile> lock = TryLock(FilePath(m_ownStem + kLockExtension));
        if (!lock->isLocked())
            return {LockFailure(*lock)};
        m_ownLock = std::move(lock);
    }
    const bool withCopy = !record.imageBytes.isEmpty();
    if (withCopy && !SameBytes(record.imageBytes, m_newestCopyBytes)) {
        // A copy that failed to be named is of no use now.
        if (!m_newestCopy.isEmpty() && m_newestCopy != m_namedCopy)
            QFile::remove(FilePath(m_newestCopy));
        m_newestCopy.clear();
        m_newestCopyBytes.clear();
        const QString name = NewCopyName();
        if (const WriteResult copied = WriteFileAtomically(FilePath(name), record.imageBytes);
            !copied)
            return copied;
        m_newestCopy = name;
        m_newestCopyBytes = record.imageBytes;
    }
    const QString named = withCopy ? m_newestCopy : QString();
    if (const WriteResult written =
            WriteFileAtomically(ownFilePath(), RecoveryFileBytes(record, named));
        !written)
        return written;
    // Only once the record no longer names the old copy can it go.
    if (!m_namedCopy.isEmpty() && m_namedCopy != named)
        QFile::remove(FilePath(m_namedCopy));
    m_namedCopy = named;
    if (!withCopy && !m_newestCopy.isEmpty()) {
        QFile::remove(FilePath(m_newestCopy));
        m_newestCopy.clear();
        m_newestCopyBytes.clear();
    }
    return {};
}

void RecoveryFolder::RemoveOwn() {
    // The record first: a copy without one is removed by a later start, a record without its
    // copy would lose the image.
    QFile::remove(ownFilePath());
    for (const QString& copy : {m_namedCopy, m_newestCopy})
        if (!copy.isEmpty())
            QFile::remove(FilePath(copy));
    m_namedCopy.clear();
    m_newestCopy.clear();
    m_newestCopyBytes.clear();
}

std::optional<RecoveryRecord> RecoveryFolder::ReadRecord(const QString& path) {
    QString copy;
    return ReadRecordFile(path, copy);
}

void RecoveryFolder::RemoveCopies(const QString& stem, const QString& kept) const {
    for (const QString& copy : QDir(m_folder).entryList(
             {stem + QStringLiteral(".*") + kCopyExtension}, QDir::Files | QDir::Hidden))
        if (copy != kept)
            QFile::remove(FilePath(copy));
}

std::optional<RecoveryRecord> RecoveryFolder::TakeLeftOver() {
    ReleaseTaken();
    // Every other editor with a file here, by the name its files begin with.
    QStringList stems;
    for (const QString& name :
         QDir(m_folder).entryList({kStemPrefix + u'*'}, QDir::Files | QDir::Hidden, QDir::Name)) {
        const QString stem = name.section(u'.', 0, 0);
        if (stem != m_ownStem && !stems.contains(stem))
            stems.append(stem);
    }
    QList<FoundRecoveryFile> found;
    std::vector<std::unique_ptr<QLockFile>> locks;
    QList<std::optional<RecoveryRecord>> records;
    QStringList copies;
    for (const QString& stem : stems) {
        FoundRecoveryFile file;
        file.name = stem;
        std::unique_ptr<QLockFile> lock = TryLock(FilePath(stem + kLockExtension));
        file.editorRunning = !lock->isLocked();
        std::optional<RecoveryRecord> record;
        QString copy;
        if (!file.editorRunning)
            record = ReadRecordFile(FilePath(stem + kRecordExtension), copy);
        file.readable = record.has_value();
        if (record)
            file.savedAt = record->savedAt;
        found.append(file);
        locks.push_back(std::move(lock));
        records.append(std::move(record));
        copies.append(copy);
    }
    for (const qsizetype unusable : UnusableLeftOvers(found)) {
        QFile::remove(FilePath(found[unusable].name + kRecordExtension));
        RemoveCopies(found[unusable].name);
    }
    // Copies written by an editor that ended before its record named them, or after it
    // stopped naming them.
    for (qsizetype index = 0; index < found.size(); ++index)
        if (found[index].readable)
            RemoveCopies(found[index].name, copies[index]);
    const std::optional<qsizetype> chosen = ChooseLeftOver(found);
    if (!chosen)
        return std::nullopt;
    // Every other lock taken here goes with `locks`, leaving those files for later starts.
    m_takenStem = found[*chosen].name;
    m_takenLock = std::move(locks[*chosen]);
    return records[*chosen];
}

void RecoveryFolder::DiscardTaken() {
    if (m_takenLock) {
        QFile::remove(FilePath(m_takenStem + kRecordExtension));
        RemoveCopies(m_takenStem);
    }
    ReleaseTaken();
}

void RecoveryFolder::ReleaseTaken() {
    m_takenLock.reset();
    m_takenStem.clear();
}
