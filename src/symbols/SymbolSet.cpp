#include "symbols/SymbolSet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
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

// A size: nearly always whole, and reading a whole number is many times quicker.
double Number(QStringView text) {
    bool whole = false;
    const int number = text.toInt(&whole);
    return whole ? number : text.toDouble();
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
    QStringView rest = QStringView(text).trimmed();
    // The fields of the next line, up to `count` of them; fewer when the line has fewer.
    QStringView fields[8];
    const auto nextLine = [&rest, &fields](int count) {
        const qsizetype end = rest.indexOf(u'\n');
        QStringView line = end < 0 ? rest : rest.left(end);
        rest = end < 0 ? QStringView() : rest.mid(end + 1);
        int found = 0;
        while (found < count) {
            const qsizetype tab = line.indexOf(u'\t');
            fields[found++] = tab < 0 ? line : line.left(tab);
            if (tab < 0)
                break;
            line = line.mid(tab + 1);
        }
        return found;
    };
    if (nextLine(5) < 5)
        return false;
    m_name = fields[0].toString();
    m_title = fields[1].toString();
    m_kind = fields[2] == u"emoji" ? SymbolKind::Emoji : SymbolKind::Symbol;
    m_licence = fields[3].toString();
    m_author = fields[4].toString();
    // Styles and categories repeat: one shared string each.
    QHash<QStringView, QString> shared;
    const auto share = [&shared](QStringView value) {
        auto found = shared.find(value);
        if (found == shared.end()) {
            // The key views the text of the value it maps to, which the hash keeps alive.
            const QString copy = value.toString();
            found = shared.insert(QStringView(copy), copy);
        }
        return *found;
    };
    while (!rest.isEmpty()) {
        if (nextLine(8) != 8)
            return false;
        SymbolEntry entry;
        entry.set = this;
        entry.name = fields[0].toString();
        entry.style = share(fields[1]);
        entry.category = share(fields[2]);
        if (!fields[3].isEmpty())
            for (QStringView term : fields[3].split(u' ', Qt::SkipEmptyParts))
                entry.terms.append(term.toString());
        entry.bodyOffset = fields[4].toLongLong();
        entry.bodyLength = fields[5].toLongLong();
        entry.width = Number(fields[6]);
        entry.height = Number(fields[7]);
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
