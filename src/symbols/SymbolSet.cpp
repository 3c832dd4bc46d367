#include "symbols/SymbolSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

const QByteArray kMagic = QByteArrayLiteral("sigilon-symbols 1\n");

// The next block of the file (its 4-byte big-endian length, then qCompress's own format),
// still compressed; empty when the file ends early.
QByteArray NextBlock(const QByteArray& file, qsizetype& position) {
    if (file.size() - position < 4)
        return {};
    const quint32 length = qFromBigEndian<quint32>(file.constData() + position);
    position += 4;
    if (qsizetype(length) > file.size() - position)
        return {};
    const QByteArray block = file.mid(position, length);
    position += length;
    return block;
}

} // namespace

QString SymbolEntry::QualifiedName() const {
    return set->name() + u'/' + name;
}

std::unique_ptr<SymbolSet> SymbolSet::Read(const QString& path, QString* problem) {
    const auto fail = [&](const QString& why) {
        if (problem)
            *problem = QStringLiteral("The symbol catalogue %1 %2.").arg(path, why);
        return nullptr;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(QStringLiteral("cannot be read (%1)").arg(file.errorString()));
    const QByteArray bytes = file.readAll();
    if (!bytes.startsWith(kMagic))
        return fail(QStringLiteral("is not a catalogue"));
    qsizetype position = kMagic.size();
    const QByteArray index = qUncompress(NextBlock(bytes, position));
    std::unique_ptr<SymbolSet> set(new SymbolSet);
    set->m_compressedBodies = NextBlock(bytes, position);
    set->m_path = path;
    if (index.isEmpty() || set->m_compressedBodies.isEmpty() || !set->ReadIndex(index))
        return fail(QStringLiteral("is damaged"));
    return set;
}

bool SymbolSet::ReadIndex(const QByteArray& index) {
    const QString text = QString::fromUtf8(index);
    const QList<QStringView> lines = QStringView(text).trimmed().split(u'\n');
    const QList<QStringView> header = lines.value(0).split(u'\t');
    if (header.size() < 5)
        return false;
    m_name = header[0].toString();
    m_title = header[1].toString();
    m_kind = header[2] == u"emoji" ? SymbolKind::Emoji : SymbolKind::Symbol;
    m_licence = header[3].toString();
    m_author = header[4].toString();
    m_entries.reserve(lines.size() - 1);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QStringView> fields = lines[i].split(u'\t');
        if (fields.size() != 8)
            return false;
        SymbolEntry entry;
        entry.set = this;
        entry.name = fields[0].toString();
        entry.style = fields[1].toString();
        entry.category = fields[2].toString();
        for (QStringView term : fields[3].split(u' ', Qt::SkipEmptyParts))
            entry.terms.append(term.toString());
        entry.bodyOffset = fields[4].toLongLong();
        entry.bodyLength = fields[5].toLongLong();
        entry.width = fields[6].toDouble();
        entry.height = fields[7].toDouble();
        if (entry.name.isEmpty() || entry.bodyLength <= 0 || !(entry.width > 0) ||
            !(entry.height > 0))
            return false;
        m_entries.append(std::move(entry));
    }
    return true;
}

QString SymbolSet::kindWord() const {
    return m_kind == SymbolKind::Emoji ? QStringLiteral("emoji") : QStringLiteral("symbol");
}

QString SymbolSet::LicenceText() const {
    const QFileInfo catalogue(m_path);
    QFile file(catalogue.dir().filePath(catalogue.completeBaseName() + QStringLiteral(".LICENSE")));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QByteArray SymbolSet::Body(const SymbolEntry& entry) const {
    std::call_once(m_inflated, [this] { m_bodies = qUncompress(m_compressedBodies); });
    if (entry.bodyOffset < 0 || entry.bodyOffset + entry.bodyLength > m_bodies.size())
        return {};
    return m_bodies.mid(entry.bodyOffset, entry.bodyLength);
}
