#include "app/dialogs/PlatformExportChoices.h"

#include "platforms/PlatformPlan.h"

#include <QSettings>

namespace {

const QString kTargetsKey = QStringLiteral("PlatformExport/Targets");
const QString kNameKey = QStringLiteral("PlatformExport/Name");
const QString kAppNameKey = QStringLiteral("PlatformExport/AppName");
const QString kFolderKey = QStringLiteral("PlatformExport/Folder");
const QString kReplaceKey = QStringLiteral("PlatformExport/ReplaceExisting");
const QString kBadgeKey = QStringLiteral("PlatformExport/Badge");
const QString kBadgeStyleKey = QStringLiteral("PlatformExport/BadgeStyle");
const QString kBadgePositionKey = QStringLiteral("PlatformExport/BadgePosition");

// The choice stored by its name, as the command line spells it; `fallback` for anything else.
template <typename Choice>
Choice Named(const QSettings& settings, const QString& key, const QStringList& names,
             Choice fallback) {
    const qsizetype index = names.indexOf(settings.value(key).toString());
    return index < 0 ? fallback : Choice(index);
}

QSettings Store() {
    return QSettings(QStringLiteral("Sigilon"), QStringLiteral("Sigilon"));
}

} // namespace

PlatformExportChoices PlatformExportChoices::Remembered() {
    const QSettings settings = Store();
    PlatformExportChoices choices;
    choices.name = settings.value(kNameKey, PlatformPlan::DefaultName()).toString();
    choices.appName = settings.value(kAppNameKey).toString();
    choices.folder = settings.value(kFolderKey).toString();
    choices.replaceExisting = settings.value(kReplaceKey, false).toBool();
    choices.badge.text = settings.value(kBadgeKey).toString();
    choices.badge.style = Named(settings, kBadgeStyleKey, Badge::StyleNames(), choices.badge.style);
    choices.badge.position =
        Named(settings, kBadgePositionKey, Badge::PositionNames(), choices.badge.position);
    if (settings.contains(kTargetsKey)) {
        // Stored as the command line spells a target list; an empty list stays empty.
        const QString list = settings.value(kTargetsKey).toString();
        QString error;
        const QList<PlatformTarget> targets =
            list.isEmpty() ? QList<PlatformTarget>() : PlatformTargets::Parse(list, error);
        if (error.isEmpty())
            choices.targets = targets;
    }
    return choices;
}

void PlatformExportChoices::Remember() const {
    QStringList names;
    for (PlatformTarget target : targets)
        names.append(PlatformTargets::Name(target));
    QSettings settings = Store();
    settings.setValue(kTargetsKey, names.join(u','));
    settings.setValue(kNameKey, name);
    settings.setValue(kAppNameKey, appName);
    settings.setValue(kFolderKey, folder);
    settings.setValue(kReplaceKey, replaceExisting);
    settings.setValue(kBadgeKey, badge.text);
    settings.setValue(kBadgeStyleKey, Badge::StyleNames()[int(badge.style)]);
    settings.setValue(kBadgePositionKey, Badge::PositionNames()[int(badge.position)]);
    settings.sync();
}
