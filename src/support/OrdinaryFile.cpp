#include "support/OrdinaryFile.h"

#include <QFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadOrdinaryFile(const QString& path, qint64 maxBytes, QByteArray& bytes) {
    // Without O_NONBLOCK, opening a pipe that has no writer blocks until one appears.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0)
        return false;
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(descriptor);
        return false;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode) || status.st_size > maxBytes)
        return false;
    // Read no more than the limit even if the file grew since it was looked at, and reserve
    // only what the file holds: the limit may be far larger than the file.
    QByteArray read = file.read(std::min<qint64>(status.st_size, maxBytes) + 1);
    if (read.size() > maxBytes || file.error() != QFileDevice::NoError)
        return false;
    bytes = std::move(read);
    return true;
}
