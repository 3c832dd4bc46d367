#include "symbols/SymbolLibrary.h"

#include "symbols/SymbolKeywords.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <numeric>
#include <span>
#include <tuple>

namespace {

constexpr int kNoMatch = -1;

// Calls `word` with each run of letters and digits of the text.
template <typename Use> void ForEachWord(QStringView text, Use word) {
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool inWord = i < text.size() && text[i].isLetterOrNumber();
        if (inWord && start < 0)
            start = i;
        else if (!inWord && start >= 0) {
            word(text.mid(start, i - start));
            start = -1;
        }
    }
}

QStringList WordsOf(const QString& text) {
    QStringList words;
    ForEachWord(text, [&](QStringView word) { words.append(word.toString().toLower()); });
    return words;
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

template <typename Words> bool AnyStartsWith(const Words& words, QStringView start) {
    return std::any_of(words.begin(), words.end(),
                       [&](QStringView word) { return word.startsWith(start); });
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

QString SymbolLibrary::InstalledFolder() {
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString besideExecutable = executableFolder.filePath(QStringLiteral("symbols"));
    const QString installed = executableFolder.filePath(QStringLiteral("../share/sigilon/symbols"));
    return QFileInfo::exists(besideExecutable) || !QFileInfo::exists(installed)
               ? besideExecutable
               : QDir::cleanPath(installed);
}

const SymbolLibrary& SymbolLibrary::Installed() {
    static const SymbolLibrary library(InstalledFolder());
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
        // The catalogues' names are in lower case already.
        // Entries of a category and style share their strings, and their loose words.
        QHash<std::pair<const QChar*, const QChar*>, quint32> looseIndex;
        for (const auto& set : m_sets) {
            for (const SymbolEntry& entry : set->entries()) {
                Terms terms;
                terms.nameWords = quint32(m_words.size());
                ForEachWord(entry.name, [this](QStringView word) { m_words.push_back(word); });
                terms.otherWords = quint32(m_words.size());
                for (const QString& term : entry.terms)
                    ForEachWord(term, [this](QStringView word) { m_words.push_back(word); });
                terms.end = quint32(m_words.size());
                const std::pair key(entry.category.constData(), entry.style.constData());
                auto found = looseIndex.find(key);
                if (found == looseIndex.end()) {
                    found = looseIndex.insert(key, quint32(m_looseWords.size()));
                    m_looseWords.push_back(WordsOf(entry.category) + WordsOf(entry.style) +
                                           QStringList{set->name(), set->kindWord()});
                }
                terms.looseWords = *found;
                m_entries.push_back(&entry);
                m_terms.push_back(terms);
            }
        }
    });
}

// Only a lookup by name needs the table of names, which a search does not.
void SymbolLibrary::IndexNames() const {
    Load();
    std::call_once(m_namesIndexed, [this] {
        m_byName.reserve(qsizetype(m_entries.size()));
        for (const SymbolEntry* entry : m_entries) {
            m_byName.insert(entry->QualifiedName(), entry);
            for (const QString& term : entry->terms)
                m_byName.insert(entry->set->name() + u'/' + term, entry);
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
int SymbolLibrary::Rank(const SymbolEntry& entry, const Terms& terms, QStringView word,
                        const QStringList& related) const {
    const auto nameWords =
        std::span(m_words).subspan(terms.nameWords, terms.otherWords - terms.nameWords);
    const auto otherWords =
        std::span(m_words).subspan(terms.otherWords, terms.end - terms.otherWords);
    if (!nameWords.empty() && nameWords.front() == word)
        return 0;
    if (std::find(nameWords.begin(), nameWords.end(), word) != nameWords.end())
        return 1;
    if (AnyStartsWith(nameWords, word))
        return 2;
    if (entry.terms.contains(word) || AnyStartsWith(otherWords, word))
        return 3;
    if (std::any_of(nameWords.begin(), nameWords.end(),
                    [&](QStringView nameWord) { return related.contains(nameWord); }))
        return 4;
    if (AnyStartsWith(m_looseWords[terms.looseWords], word))
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
    QList<QStringList> related;
    for (const QString& word : query)
        related.append(RelatedNameWords(word));
    for (size_t i = 0; i < m_entries.size(); ++i) {
        int score = 0;
        for (qsizetype w = 0; w < query.size(); ++w) {
            const int rank = Rank(*m_entries[i], m_terms[i], query[w], related[w]);
            if (rank == kNoMatch) {
                score = kNoMatch;
                break;
            }
            score += rank;
        }
        if (score != kNoMatch)
            found.emplace_back(score, m_terms[i].otherWords - m_terms[i].nameWords, i);
    }
    std::sort(found.begin(), found.end());
    std::vector<const SymbolEntry*> entries;
    entries.reserve(found.size());
    for (const auto& [score, length, index] : found)
        entries.push_back(m_entries[index]);
    return entries;
}

const SymbolEntry* SymbolLibrary::Find(const QString& qualifiedName) const {
    IndexNames();
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
