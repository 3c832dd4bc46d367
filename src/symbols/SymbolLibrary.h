#pragma once

#include "symbols/SymbolSet.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <mutex>
#include <vector>

// The built-in library: every catalogue (SET.catalogue) of one folder, read on first use and
// searched in memory. Once read it does not change; its queries are safe from any thread.
class SymbolLibrary {
public:
    // The library in `folder`; nothing is read yet.
    explicit SymbolLibrary(QString folder);

    // The library the program ships: the "symbols" folder beside the executable (a build), else
    // the installed share/sigilon/symbols.
    static const SymbolLibrary& Installed();
    static QString InstalledFolder();

    // The sets, by name; empty when the folder holds no readable catalogue (problem() says why).
    const std::vector<std::unique_ptr<SymbolSet>>& sets() const;
    // Every entry of every set, set by set, each set's by name.
    const std::vector<const SymbolEntry*>& entries() const;
    QString problem() const;

    // The entries that match every word, the closest matches first (a name that begins with
    // the word before one that has it later, a shorter name before a longer one): a word matches a
    // word of the entry's name, another name or the emoji character (whole, or as its beginning), a
    // name word that the keyword table relates to it, or the beginning of a word of the entry's
    // category, style, kind or set. No words: every entry.
    std::vector<const SymbolEntry*> Search(const QStringList& words) const;

    // The entry named "SET/NAME" (or one of its other names), null when there is none.
    const SymbolEntry* Find(const QString& qualifiedName) const;

    // Up to `count` names ("SET/NAME") closest to one that names nothing: what a search for its
    // words finds, else the names that differ from it in the fewest letters.
    QStringList ClosestNames(const QString& qualifiedName, int count) const;

private:
    // The words one entry is found by, prepared once (see Search): views of its names into a
    // list of them all (the entries never move), and its loose words, which entries of one
    // category and style share.
    struct Terms {
        quint32 nameWords = 0; // the first in m_words
        quint32 otherWords = 0;
        quint32 end = 0;
        quint32 looseWords = 0; // the index in m_looseWords
    };

    void Load() const;
    void IndexNames() const;
    int Rank(const SymbolEntry& entry, const Terms& terms, QStringView word,
             const QStringList& related) const;

    QString m_folder;
    mutable std::once_flag m_loaded;
    mutable std::once_flag m_namesIndexed;
    mutable std::vector<std::unique_ptr<SymbolSet>> m_sets;
    mutable std::vector<const SymbolEntry*> m_entries;
    mutable std::vector<Terms> m_terms;
    mutable std::vector<QStringView> m_words;
    mutable std::vector<QStringList> m_looseWords;
    mutable QHash<QString, const SymbolEntry*> m_byName;
    mutable QString m_problem;
};
