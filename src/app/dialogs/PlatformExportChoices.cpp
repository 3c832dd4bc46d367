#include "app/dialogs/PlatformExportChoices.h"

#include "platforms/PlatformPlan.h"

#include <QSettings>

namespace {

const QString kTargetsKey = QStringLiteral("PlatformExport/Targets");
const QString kNameKey = QStringLiteral("PlatformExport/Name");
const QString kAppNameKey = QStringLiteral("PlatformExport/AppName");
const QString kFolderKey = QStringLiteral("PlatformExport/Folder");
const QString kReplaceKey = QStringLiteral("PlatformExport/ReplaceExisting");

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
    settings.sync();
}
