#include "export/AtomicFileWrite.h"

#include "support/DescriptorWrite.h"
#include "support/OwnTemporaryFiles.h"

#include <QFile>
#include <QRandomGenerator>

#include <cerrno>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A name the file system can be asked about: the encoded path, or nothing when it holds a NUL,
// which every system call would take as the end of a shorter, different path.
std::optional<QByteArray> SystemPath(const QString& path) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return std::nullopt;
    return QFile::encodeName(path);
}

const QString NulInName =
    QStringLiteral("The file name holds a NUL character, which no file name can hold.");

WriteResult SystemFailure(int error) {
    return {qt_error_string(error) + u'.'};
}

// The folder the file goes into, where the temporary file must be for the rename to work.
QByteArray FolderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    if (slash == 0)
        return QByteArrayLiteral("/");
    return path.left(slash);
}

// A new, empty file of a name no one else has, created with the permissions of any new file
// (0666 less the umask) and recorded as this process's own until it is renamed or removed.
// -1 with errno set when none could be created.
int CreateTemporaryFile(const QByteArray& folder, QByteArray& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = folder + "/.sigilon-" +
               QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = OwnTemporaryFiles::Create(name);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool FolderTakesNewFiles(const QString& folder) {
    const std::optional<QByteArray> systemPath = SystemPath(folder);
    QByteArray probe;
    const int fd = systemPath ? CreateTemporaryFile(*systemPath, probe) : -1;
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.constData());
    OwnTemporaryFiles::Release(probe);
    return true;
}

bool ItemExistsAt(const QString& path) {
    const std::optional<QByteArray> systemPath = SystemPath(path);
    struct stat status;
    return systemPath && ::lstat(systemPath->constData(), &status) == 0;
}

WriteResult WriteFileAtomically(const QString& path, const QByteArray& data) {
    const std::optional<QByteArray> target = SystemPath(path);
    if (!target)
        return {NulInName};
    QByteArray temporary;
    const int fd = CreateTemporaryFile(FolderOf(*target), temporary);
    if (fd < 0)
        return SystemFailure(errno);
    int error = WriteAllBytes(fd, data);
    // close reports late write errors on some file systems; a file it fails for is not complete.
    if (::close(fd) != 0 && error == 0)
        error = errno;
    // No fsync: the rename alone keeps the old file safe, since readers see either the old
    // item or the complete new file. Syncing every icon would make an export wait for the disk
    // many times over and only guards against a crash of the whole machine.
    if (error == 0 && ::rename(temporary.constData(), target->constData()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temporary.constData());
    OwnTemporaryFiles::Release(temporary);
    if (error != 0)
        return SystemFailure(error);
    return {};
}
