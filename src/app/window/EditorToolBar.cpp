#include "app/window/EditorToolBar.h"

#include <QAction>
#include <QMainWindow>
#include <QStyle>
#include <QToolBar>

namespace {

void Show(QToolBar& bar, QAction* action, const char* themeIcon, QStyle::StandardPixmap fallback,
          const QString& shortText) {
    if (!action)
        return;
    action->setIcon(
        QIcon::fromTheme(QString::fromLatin1(themeIcon), bar.style()->standardIcon(fallback)));
    action->setIconText(shortText);
    bar.addAction(action);
}

} // namespace

void InstallEditorToolBar(QMainWindow& window, const MenuActions& a) {
    auto* bar = window.addToolBar(QObject::tr("Toolbar"));
    bar->setObjectName(QStringLiteral("toolBarMain"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonFollowStyle);
    const auto find = [&window](const char* name) {
        return window.findChild<QAction*>(QString::fromLatin1(name));
    };
    Show(*bar, a.fileNew, "document-new", QStyle::SP_FileIcon, QObject::tr("New"));
    Show(*bar, a.loadProfile, "document-open", QStyle::SP_DialogOpenButton, QObject::tr("Open"));
    Show(*bar, a.saveProfile, "document-save", QStyle::SP_DialogSaveButton, QObject::tr("Save"));
    bar->addSeparator();
    Show(*bar, a.undo, "edit-undo", QStyle::SP_ArrowBack, QObject::tr("Undo"));
    Show(*bar, a.redo, "edit-redo", QStyle::SP_ArrowForward, QObject::tr("Redo"));
    bar->addSeparator();
    Show(*bar, a.saveIcons, "document-export", QStyle::SP_DialogApplyButton,
         QObject::tr("Export Icons"));
    Show(*bar, find("actionExportForPlatforms"), "folder-new", QStyle::SP_DirIcon,
         QObject::tr("Export for Platforms"));
    Show(*bar, find("actionShowPreviewWall"), "view-grid", QStyle::SP_FileDialogListView,
         QObject::tr("Preview Wall"));
    bar->addSeparator();
    Show(*bar, find("actionZoomOut"), "zoom-out", QStyle::SP_ArrowDown, QObject::tr("Zoom Out"));
    Show(*bar, find("actionZoomToFit"), "zoom-fit-best", QStyle::SP_TitleBarNormalButton,
         QObject::tr("Fit"));
    Show(*bar, find("actionZoomIn"), "zoom-in", QStyle::SP_ArrowUp, QObject::tr("Zoom In"));
    Show(*bar, find("actionShowKeylines"), "view-grid-symbolic", QStyle::SP_FileDialogDetailedView,
         QObject::tr("Keylines"));
}
