#include "app/dialogs/RecentSymbols.h"

#include <QSettings>

namespace RecentSymbols {

namespace {

const QString kKey = QStringLiteral("symbols/recent");
// Two rows of the picker's grid.
constexpr qsizetype kKept = 20;

} // namespace

QStringList Names() {
    return QSettings().value(kKey).toStringList();
}

void Add(const QString& qualifiedName) {
    QStringList names = Names();
    names.removeAll(qualifiedName);
    names.prepend(qualifiedName);
    QSettings().setValue(kKey, names.mid(0, kKept));
}

} // namespace RecentSymbols
