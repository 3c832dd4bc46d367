#include "design/FontFamilies.h"

#include <QFontDatabase>
#include <array>

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

QString FontFamilyName(int index) {
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
