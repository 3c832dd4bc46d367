#include "support/DescriptorWrite.h"

#include <cerrno>
#include <unistd.h>

int WriteAllBytes(int fd, const QByteArray& data) {
    const char* next = data.constData();
    qsizetype left = data.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return EIO;
        next += written;
        left -= written;
    }
    return 0;
}
