#include "app/window/RecentProfiles.h"

#include "app/base/FailureMessage.h"
#include "app/window/ViewController.h"
#include "export/Prompter.h"

#include <QFileInfo>
#include <QMenu>
#include <QSettings>

namespace {

const QString kSettingsKey = QStringLiteral("file/recentProfiles");

void Store(const QStringList& list) {
    QSettings().setValue(kSettingsKey, list);
}

} // namespace

RecentProfiles::RecentProfiles(QMenu& menu, ViewController& editor, Prompter& prompter)
    : QObject(&menu), m_menu(menu), m_editor(editor), m_prompter(prompter) {
    menu.setObjectName(QStringLiteral("menuOpenRecent"));
    connect(&editor, &ViewController::profileOpened, this,
            [](const QString& path) { Store(WithFirst(List(), path)); });
    connect(&menu, &QMenu::aboutToShow, this, &RecentProfiles::Fill);
    Fill();
}

QStringList RecentProfiles::List() {
    return QSettings().value(kSettingsKey).toStringList();
}

QStringList RecentProfiles::WithFirst(QStringList list, const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    list.removeAll(absolute);
    list.prepend(absolute);
    return list.mid(0, kLength);
}

void RecentProfiles::Fill() {
    m_menu.clear();
    const QStringList list = List();
    for (qsizetype i = 0; i < list.size(); ++i) {
        const QString path = list[i];
        // The first nine have a number to choose them by.
        QAction* item =
            m_menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        item->setToolTip(path);
        item->setData(path);
        connect(item, &QAction::triggered, this, [this, path] { Open(path); });
    }
    m_menu.setEnabled(!list.isEmpty());
}

void RecentProfiles::Open(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QStringList list = List();
        list.removeAll(path);
        Store(list);
        Fill();
        m_prompter.Alert(FailureMessage::Compose(QStringLiteral("The profile is no longer there."),
                                                 path, FailureMessage::ReadProblem(path)));
        return;
    }
    m_editor.OpenProfileAsked(path);
}
