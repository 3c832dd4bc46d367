#include "profiles/ProfileFile.h"

#include "support/OrdinaryFile.h"

#include <QSaveFile>
#include <QStringDecoder>

namespace {

// A profile is a few kilobytes even with long texts; a file far larger was chosen by mistake.
constexpr qint64 LargestProfileBytes = qint64(16) << 20;

} // namespace

bool ReadProfileFile(const QString& path, QString& text) {
    QByteArray bytes;
    if (!ReadOrdinaryFile(path, LargestProfileBytes, bytes))
        return false;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    text = decoder.decode(bytes);
    return !decoder.hasError();
}

ProfileWriteResult WriteProfileFile(const QString& path, const QString& text) {
    QSaveFile file(path);
    // Unbuffered, so that a short write (disk full, size limit) is seen before the commit: a
    // buffered one failing only at close would still replace the old file with a cut one.
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) &&
        file.write(bytes) == bytes.size() && file.commit())
        return {true, {}};
    return {false, file.errorString()};
}
