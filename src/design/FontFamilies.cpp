#include "design/FontFamilies.h"

#include "support/KeptAnswers.h"

#include <QFontDatabase>
#include <array>
#include <functional>

namespace {

struct FamilyChoice {
    const char* family;
    // A free face of the same character that the set-up installs, for machines that do
    // not have the family itself.
    const char* lookAlike;
};

constexpr std::array<FamilyChoice, 20> kFamilies{{
    {"American Typewriter", "GNUTypewriter"},
    {"Arial", "Liberation Sans"},
    {"Chalkduster", "Cabin Sketch"},
    {"Comic Sans MS", "Comic Neue"},
    {"Copperplate", "Quattrocento"},
    {"Didot", "GFS Didot"},
    {"Futura", "League Spartan"},
    {"Geneva", "Open Sans"},
    {"Georgia", "C059"},
    {"Gill Sans", "Cabin"},
    {"Helvetica", "Nimbus Sans"},
    {"Impact", "Bebas Neue"},
    {"Marker Felt", "Leckerli One"},
    {"Monaco", "DejaVu Sans Mono"},
    {"Optima", "Linux Biolinum O"},
    {"Papyrus", "Z003"},
    {"Skia", "Cantarell"},
    {"Times New Roman", "Liberation Serif"},
    {"Trebuchet MS", "Lato"},
    {"Verdana", "DejaVu Sans"},
}};

} // namespace

const QStringList& FontFamilyList() {
    static const QStringList list = [] {
        QStringList names;
        for (const FamilyChoice& choice : kFamilies)
            names.append(QString::fromLatin1(choice.family));
        return names;
    }();
    return list;
}

QStringList FontFamilyCandidates(int index) {
    if (index < 0 || index >= static_cast<int>(kFamilies.size()))
        return {};
    return {QString::fromLatin1(kFamilies[index].family),
            QString::fromLatin1(kFamilies[index].lookAlike)};
}

QString FamilyWithoutFoundry(const QString& listedName) {
    const qsizetype bracket = listedName.lastIndexOf(QLatin1String(" ["));
    return bracket > 0 && listedName.endsWith(QLatin1Char(']')) ? listedName.left(bracket)
                                                                : listedName;
}

namespace {

QString ResolveFamilyName(int index) {
    const QStringList installed = QFontDatabase::families();
    for (const QString& candidate : FontFamilyCandidates(index)) {
        if (installed.contains(candidate, Qt::CaseSensitive))
            return candidate;
        for (const QString& listed : installed)
            if (FamilyWithoutFoundry(listed) == candidate)
                return listed;
    }
    return installed.isEmpty() ? QString() : installed.first();
}

} // namespace

QString FontFamilyName(int index) {
    // Going through the font list costs more than laying out a short text, and every rendering
    // asks; the program adds no fonts while it runs, so each answer holds for its lifetime.
    // Room for every family and one index from outside the list.
    static auto* kept = new KeptAnswers<int, QString, kFamilies.size() + 1>;
    return kept->Get(index, std::equal_to<>(), [&] { return ResolveFamilyName(index); });
}
