#include "profiles/ProfileFile.h"

#include <QFile>
#include <QSaveFile>
#include <QStringDecoder>

bool ReadProfileFile(const QString& path, QString& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
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
