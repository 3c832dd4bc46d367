#include "app/dialogs/HelpPages.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace HelpPages {

namespace {

QString FileName(Page page) {
    switch (page) {
    case Contents:
        return QStringLiteral("index.html");
    case MacAppIcons:
        return QStringLiteral("mac-app-icons.html");
    case IOSAppIcon:
        return QStringLiteral("ios-app-icon.html");
    case Logo:
        return QStringLiteral("logo.html");
    }
    return {};
}

QString Folder() {
    const QDir executableFolder(QCoreApplication::applicationDirPath());
    const QString besideExecutable = executableFolder.filePath(QStringLiteral("help"));
    const QString installed = executableFolder.filePath(QStringLiteral("../share/sigilon/help"));
    return QFileInfo::exists(besideExecutable) || !QFileInfo::exists(installed)
               ? besideExecutable
               : QDir::cleanPath(installed);
}

} // namespace

QUrl Url(Page page) {
    return QUrl::fromLocalFile(Folder() + u'/' + FileName(page));
}

} // namespace HelpPages
