#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>

class SymbolSet;

// What an entry of the library is: a single-colour symbol, drawn in the tint, or an emoji in
// its own colours.
enum class SymbolKind { Symbol, Emoji };

// One drawing of a set: its name (unique in the set), its style, its category, and the terms
// it is also found by (other names, the emoji character itself).
struct SymbolEntry {
    const SymbolSet* set = nullptr;
    QString name;
    QString style;
    QString category;
    QStringList terms;
    qsizetype bodyOffset = 0;
    qsizetype bodyLength = 0;
    double width = 0;
    double height = 0;

    // "SET/NAME", as the command line and the image path field name it.
    QString QualifiedName() const;
};

// One catalogue file of the library (see scripts/make-symbol-catalogues.py for its layout).
// Its index is read at once; its drawings stay compressed until one of them is first needed.
class SymbolSet {
public:
    // The set in the catalogue file at `path`, or null (and `problem` saying why) when the file
    // cannot be read or is not a catalogue.
    static std::unique_ptr<SymbolSet> Read(const QString& path, QString* problem);

    const QString& name() const { return m_name; }
    const QString& title() const { return m_title; }
    SymbolKind kind() const { return m_kind; }
    QString kindWord() const;
    const QString& licence() const { return m_licence; }
    const QString& author() const { return m_author; }
    const QList<SymbolEntry>& entries() const { return m_entries; }
    // The licence text kept beside the catalogue (SET.LICENSE), empty when it is missing.
    QString LicenceText() const;

    // The SVG fragment an entry of this set draws, empty when the drawings are corrupt. Safe to
    // call from several threads.
    QByteArray Body(const SymbolEntry& entry) const;

private:
    SymbolSet() = default;
    bool ReadIndex(const QByteArray& index);

    QString m_path;
    QString m_name;
    QString m_title;
    SymbolKind m_kind = SymbolKind::Symbol;
    QString m_licence;
    QString m_author;
    QList<SymbolEntry> m_entries;
    QByteArray m_compressedBodies;
    mutable QByteArray m_bodies;
    mutable std::once_flag m_inflated;
};
