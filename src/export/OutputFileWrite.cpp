#include "export/OutputFileWrite.h"

#include "support/DescriptorWrite.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsStream(mode_t mode) {
    return S_ISFIFO(mode) || S_ISCHR(mode);
}

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode))
        return QStringLiteral("a folder");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    return QStringLiteral("not a regular file");
}

// The write with SIGPIPE held back on this thread: a reader that closes its end must fail
// this write, not end the whole program (the editor included). A SIGPIPE the write raised is
// taken off again before the mask is restored.
int WriteWithoutSigpipe(int fd, const QByteArray& data) {
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    sigset_t previous;
    sigset_t pending;
    const bool wasPending = ::sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    ::pthread_sigmask(SIG_BLOCK, &pipeSignal, &previous);
    const int error = WriteAllBytes(fd, data);
    if (error == EPIPE && !wasPending) {
        const timespec now{0, 0};
        while (::sigtimedwait(&pipeSignal, nullptr, &now) < 0 && errno == EINTR) {
        }
    }
    ::pthread_sigmask(SIG_SETMASK, &previous, nullptr);
    return error;
}

WriteResult Failure(const QString& path, int error) {
    return {QStringLiteral("%1: %2.").arg(path, qt_error_string(error))};
}

WriteResult WriteThrough(const QString& path, const QByteArray& systemPath,
                         const QByteArray& data) {
    // Without O_NONBLOCK, opening a pipe no program reads from waits until one does.
    const int fd = ::open(systemPath.constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENXIO)
            return {QStringLiteral("No program reads from %1.").arg(path)};
        return Failure(path, errno);
    }
    struct stat status;
    if (::fstat(fd, &status) != 0 || !IsStream(status.st_mode)) {
        // Swapped for another item since it was looked at: that one is left alone.
        ::close(fd);
        return {QStringLiteral("%1 changed while it was being opened.").arg(path)};
    }
    const int flags = ::fcntl(fd, F_GETFL);
    int error = 0;
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0)
        error = errno;
    else
        error = WriteWithoutSigpipe(fd, data);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0)
        return Failure(path, error);
    return {};
}

} // namespace

WriteResult WriteOutputFile(const QString& path, const QByteArray& data) {
    if (path.isEmpty() || path.contains(QChar(0)))
        return WriteFileAtomically(path, data); // which tells why no such file can be written
    const QByteArray systemPath = QFile::encodeName(path);
    struct stat status;
    if (::lstat(systemPath.constData(), &status) != 0 || S_ISREG(status.st_mode))
        return WriteFileAtomically(path, data);
    if (S_ISLNK(status.st_mode)) {
        // A link is replaced, not followed, unless it leads to a pipe or a device, or is a
        // name for standard output such as /dev/stdout (whatever that is: replacing the link
        // would replace the system's own).
        struct stat target;
        if (::stat(systemPath.constData(), &target) != 0)
            return WriteFileAtomically(path, data);
        for (const int stream : {STDOUT_FILENO, STDERR_FILENO}) {
            struct stat streamStatus;
            if (::fstat(stream, &streamStatus) == 0 && streamStatus.st_dev == target.st_dev &&
                streamStatus.st_ino == target.st_ino)
                return WriteToDescriptor(stream, data);
        }
        if (IsStream(target.st_mode))
            return WriteThrough(path, systemPath, data);
        return WriteFileAtomically(path, data);
    }
    if (IsStream(status.st_mode))
        return WriteThrough(path, systemPath, data);
    return {QStringLiteral("%1 is %2, which is never replaced by a file.")
                .arg(path, KindOf(status.st_mode))};
}

WriteResult WriteToDescriptor(int fd, const QByteArray& data) {
    if (const int error = WriteWithoutSigpipe(fd, data); error != 0)
        return {qt_error_string(error) + u'.'};
    return {};
}
