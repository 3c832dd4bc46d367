#include "symbols/SymbolLibrary.h"

#include "symbols/SymbolKeywords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <numeric>
#include <tuple>

namespace {

constexpr int kNoMatch = -1;

QStringList WordsOf(const QString& text) {
    static const QRegularExpression separators(QStringLiteral("[^\\w]+|_"));
    return text.toLower().split(separators, Qt::SkipEmptyParts);
}

// A query's words: lower case, a hyphenated name taken as its words.
QStringList QueryWords(const QStringList& words) {
    QStringList split;
    for (const QString& word : words) {
        // An emoji character is not a word character; it is looked for whole.
        const QStringList parts = WordsOf(word);
        split += parts.isEmpty() ? QStringList{word.trimmed()} : parts;
    }
    split.removeAll(QString());
    return split;
}

bool AnyStartsWith(const QStringList& words, const QString& start) {
    return std::any_of(words.begin(), words.end(),
                       [&](const QString& word) { return word.startsWith(start); });
}

int EditDistance(const QString& a, const QString& b) {
    std::vector<int> row(size_t(b.size()) + 1);
    std::iota(row.begin(), row.end(), 0);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        int diagonal = row[0];
        row[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j) {
            const int above = row[size_t(j)];
            row[size_t(j)] =
                std::min({above + 1, row[size_t(j) - 1] + 1, diagonal + (a[i - 1] != b[j - 1])});
            diagonal = above;
        }
    }
    return row.back();
}

} // namespace

SymbolLibrary::SymbolLibrary(QString folder) : m_folder(std::move(folder)) {}

const SymbolLibrary& SymbolLibrary::Installed() {
    static const SymbolLibrary library([] {
        const QDir executableFolder(QCoreApplication::applicationDirPath());
        const QString besideExecutable = executableFolder.filePath(QStringLiteral("symbols"));
        const QString installed =
            executableFolder.filePath(QStringLiteral("../share/sigilon/symbols"));
        return QFileInfo::exists(besideExecutable) || !QFileInfo::exists(installed)
                   ? besideExecutable
                   : QDir::cleanPath(installed);
    }());
    return library;
}

void SymbolLibrary::Load() const {
    std::call_once(m_loaded, [this] {
        const QStringList files =
            QDir(m_folder).entryList({QStringLiteral("*.catalogue")}, QDir::Files, QDir::Name);
        for (const QString& file : files) {
            QString problem;
            if (auto set = SymbolSet::Read(QDir(m_folder).filePath(file), &problem))
                m_sets.push_back(std::move(set));
            else
                m_problem = problem;
        }
        if (m_sets.empty() && m_problem.isEmpty())
            m_problem = QStringLiteral("No symbol catalogue is installed in %1.").arg(m_folder);
        for (const auto& set : m_sets) {
            const QStringList setWords{set->name(), set->kindWord()};
            for (const SymbolEntry& entry : set->entries()) {
                Terms terms;
                terms.nameWords = WordsOf(entry.name);
                for (const QString& term : entry.terms) {
                    terms.otherNames.append(term.toLower());
                    terms.otherWords += WordsOf(term);
                    m_byName.insert(set->name() + u'/' + term, &entry);
                }
                terms.looseWords = WordsOf(entry.category) + WordsOf(entry.style) + setWords;
                m_entries.push_back(&entry);
                m_terms.push_back(std::move(terms));
                m_byName.insert(entry.QualifiedName(), &entry);
            }
        }
    });
}

const std::vector<std::unique_ptr<SymbolSet>>& SymbolLibrary::sets() const {
    Load();
    return m_sets;
}

const std::vector<const SymbolEntry*>& SymbolLibrary::entries() const {
    Load();
    return m_entries;
}

QString SymbolLibrary::problem() const {
    Load();
    return m_problem;
}

// Lower is closer: the first word of the name, another word of it, the beginning of one, another
// name, a related word, the category, style, kind or set.
int SymbolLibrary::Rank(const Terms& terms, const QString& word) const {
    if (terms.nameWords.value(0) == word)
        return 0;
    if (terms.nameWords.contains(word))
        return 1;
    if (AnyStartsWith(terms.nameWords, word))
        return 2;
    if (terms.otherNames.contains(word) || AnyStartsWith(terms.otherWords, word))
        return 3;
    const QStringList& related = RelatedNameWords(word);
    if (std::any_of(terms.nameWords.begin(), terms.nameWords.end(),
                    [&](const QString& nameWord) { return related.contains(nameWord); }))
        return 4;
    if (AnyStartsWith(terms.looseWords, word))
        return 5;
    return kNoMatch;
}

std::vector<const SymbolEntry*> SymbolLibrary::Search(const QStringList& words) const {
    Load();
    const QStringList query = QueryWords(words);
    if (query.isEmpty())
        return m_entries;
    // Closeness, then the shorter name (the heart before the couple with a heart in each skin
    // tone), then the library's order.
    std::vector<std::tuple<int, qsizetype, size_t>> found;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        int score = 0;
        for (const QString& word : query) {
            const int rank = Rank(m_terms[i], word);
            if (rank == kNoMatch) {
                score = kNoMatch;
                break;
            }
            score += rank;
        }
        if (score != kNoMatch)
            found.emplace_back(score, m_terms[i].nameWords.size(), i);
    }
    std::sort(found.begin(), found.end());
    std::vector<const SymbolEntry*> entries;
    entries.reserve(found.size());
    for (const auto& [score, length, index] : found)
        entries.push_back(m_entries[index]);
    return entries;
}

const SymbolEntry* SymbolLibrary::Find(const QString& qualifiedName) const {
    Load();
    return m_byName.value(qualifiedName, nullptr);
}

QStringList SymbolLibrary::ClosestNames(const QString& qualifiedName, int count) const {
    Load();
    const qsizetype slash = qualifiedName.indexOf(u'/');
    const QString setName = slash < 0 ? QString() : qualifiedName.left(slash);
    const QString name = qualifiedName.mid(slash + 1).toLower();
    const bool setKnown = std::any_of(m_sets.begin(), m_sets.end(),
                                      [&](const auto& set) { return set->name() == setName; });
    const auto inSet = [&](const SymbolEntry* entry) {
        return !setKnown || entry->set->name() == setName;
    };
    QStringList closest;
    for (const SymbolEntry* entry : Search({name})) {
        if (closest.size() < count && inSet(entry))
            closest.append(entry->QualifiedName());
    }
    if (!closest.isEmpty())
        return closest;
    // Distance first, then the library's order, so that the answer never varies.
    std::vector<std::pair<int, size_t>> distances;
    for (size_t i = 0; i < m_entries.size(); ++i) {
        if (inSet(m_entries[i]))
            distances.emplace_back(EditDistance(name, m_entries[i]->name), i);
    }
    const auto shown = std::min(distances.size(), size_t(std::max(count, 0)));
    std::partial_sort(distances.begin(), distances.begin() + qsizetype(shown), distances.end());
    for (size_t i = 0; i < shown; ++i)
        closest.append(m_entries[distances[i].second]->QualifiedName());
    return closest;
}
