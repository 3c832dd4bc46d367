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

QString FontFamilyName(int index) {
    const QStringList installed = QFontDatabase::families();
    if (index >= 0 && index < static_cast<int>(kFamilies.size())) {
        // Exact match only: a family is "installed" when its name is listed as it stands.
        for (const char* candidate : {kFamilies[index].family, kFamilies[index].lookAlike}) {
            const QString name = QString::fromLatin1(candidate);
            if (installed.contains(name, Qt::CaseSensitive))
                return name;
        }
    }
    return installed.isEmpty() ? QString() : installed.first();
}
