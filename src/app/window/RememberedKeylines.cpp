#include "app/window/RememberedKeylines.h"

#include <QSettings>
#include <QStringList>

namespace {

const QString kShownKey = QStringLiteral("view/keylinesShown");
const QString kChosenKey = QStringLiteral("view/keylines");

QSettings Store() {
    return QSettings(QStringLiteral("Sigilon"), QStringLiteral("Sigilon"));
}

} // namespace

KeylineChoice RememberedKeylines() {
    const QSettings settings = Store();
    KeylineChoice choice;
    choice.shown = settings.value(kShownKey, choice.shown).toBool();
    if (!settings.contains(kChosenKey))
        return choice;
    const QStringList names = settings.value(kChosenKey).toStringList();
    std::vector<Keyline> chosen;
    for (const QString& name : names)
        if (const std::optional<Keyline> keyline = KeylineNamed(name))
            chosen.push_back(*keyline);
    if (!chosen.empty() || names.isEmpty())
        choice.chosen = chosen;
    return choice;
}

void RememberKeylines(const KeylineChoice& choice) {
    QStringList names;
    for (const Keyline keyline : choice.chosen)
        names.append(KeylineName(keyline));
    QSettings settings = Store();
    settings.setValue(kShownKey, choice.shown);
    settings.setValue(kChosenKey, names);
}
