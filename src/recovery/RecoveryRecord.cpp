#include "recovery/RecoveryRecord.h"

#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QList>
#include <QStringDecoder>
#include <QUrl>

namespace {

const QByteArray kFirstLine = QByteArrayLiteral("Sigilon recovery 2");
// The header's labels, in the order they are written.
const QByteArray kSaved = QByteArrayLiteral("saved ");
const QByteArray kProfilePath = QByteArrayLiteral("profile-path ");
const QByteArray kImagePath = QByteArrayLiteral("image-path ");
const QByteArray kImageCopy = QByteArrayLiteral("image-copy ");
const QByteArray kProfileTextLength = QByteArrayLiteral("profile-text-bytes ");
constexpr int kHeaderLines = 6;

QByteArray EncodedPath(const QString& path) {
    return QUrl::toPercentEncoding(path, "/");
}

std::optional<QString> Utf8(const QByteArray& bytes) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

std::optional<QString> DecodedPath(const QByteArray& encoded) {
    // Every byte the encoding leaves alone is printable ASCII; anything else was not written here.
    for (const char byte : encoded)
        if (byte <= ' ' || byte > '~')
            return std::nullopt;
    return Utf8(QByteArray::fromPercentEncoding(encoded));
}

std::optional<qsizetype> Length(const QByteArray& digits) {
    if (digits.isEmpty() || digits.size() > 12 || (digits.size() > 1 && digits.startsWith('0')))
        return std::nullopt;
    for (const char digit : digits)
        if (digit < '0' || digit > '9')
            return std::nullopt;
    return qsizetype(digits.toLongLong());
}

} // namespace

QByteArray RecoveryFileBytes(const RecoveryRecord& record, const QString& imageCopy) {
    const QByteArray text = record.profileText.toUtf8();
    QByteArray bytes = kFirstLine + '\n';
    bytes += kSaved + record.savedAt.toUTC().toString(Qt::ISODateWithMs).toLatin1() + '\n';
    bytes += kProfilePath + EncodedPath(record.profilePath) + '\n';
    bytes += kImagePath + EncodedPath(record.imagePath) + '\n';
    bytes += kImageCopy + EncodedPath(imageCopy) + '\n';
    bytes += kProfileTextLength + QByteArray::number(text.size()) + '\n';
    bytes += '\n';
    bytes += text;
    return bytes;
}

std::optional<RecoveryRecord> ReadRecoveryFileBytes(const QByteArray& bytes, QString* imageCopy) {
    QList<QByteArray> lines;
    qsizetype at = 0;
    while (lines.size() < kHeaderLines + 1) {
        const qsizetype end = bytes.indexOf('\n', at);
        if (end < 0)
            return std::nullopt;
        lines.append(bytes.mid(at, end - at));
        at = end + 1;
    }
    const auto value = [&lines](int index, const QByteArray& label) -> std::optional<QByteArray> {
        if (!lines[index].startsWith(label))
            return std::nullopt;
        return lines[index].mid(label.size());
    };
    const std::optional<QByteArray> saved = value(1, kSaved);
    const std::optional<QByteArray> profilePath = value(2, kProfilePath);
    const std::optional<QByteArray> imagePath = value(3, kImagePath);
    const std::optional<QByteArray> copyName = value(4, kImageCopy);
    const std::optional<QByteArray> textLength = value(5, kProfileTextLength);
    if (lines[0] != kFirstLine || !saved || !profilePath || !imagePath || !copyName ||
        !textLength || !lines[6].isEmpty())
        return std::nullopt;

    RecoveryRecord record;
    record.savedAt = QDateTime::fromString(QString::fromLatin1(*saved), Qt::ISODateWithMs);
    const std::optional<QString> profile = DecodedPath(*profilePath);
    const std::optional<QString> image = DecodedPath(*imagePath);
    const std::optional<QString> copy = DecodedPath(*copyName);
    const std::optional<qsizetype> textBytes = Length(*textLength);
    if (!record.savedAt.isValid() || !profile || !image || !copy || !textBytes ||
        bytes.size() - at != *textBytes)
        return std::nullopt;
    record.profilePath = *profile;
    record.imagePath = *image;
    const std::optional<QString> text = Utf8(bytes.mid(at));
    // Only a design the editor can show again is worth offering.
    DesignSettings check;
    if (!text || !ApplyProfileText(check, *text, false))
        return std::nullopt;
    record.profileText = *text;
    *imageCopy = *copy;
    return record;
}
