#include "profiles/ProfileFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace {

// A profile is a few kilobytes even with long texts; a file far larger was chosen by mistake.
constexpr qint64 LargestProfileBytes = qint64(16) << 20;

} // namespace

bool ReadProfileFile(const QString& path, QString& text) {
    // Only an ordinary file can be a profile: reading a pipe would block until something writes
    // to it, and a device such as /dev/zero never ends and would exhaust memory.
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > LargestProfileBytes)
        return false;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    // Read no more than the limit even if the file grew since it was looked at.
    const QByteArray bytes = file.read(LargestProfileBytes + 1);
    if (bytes.size() > LargestProfileBytes)
        return false;
    if (file.error() != QFileDevice::NoError)
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

bool WriteProfileFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (disk full, size limit) is seen before the commit: a
    // buffered one failing only at close would still replace the old file with a cut one.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray bytes = text.toUtf8();
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
