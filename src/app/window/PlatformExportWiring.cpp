#include "app/window/PlatformExportWiring.h"

#include "app/dialogs/PlatformExportDialog.h"
#include "app/wall/PreviewWall.h"
#include "app/window/ViewController.h"

#include <QAction>
#include <QMenu>

void InstallPlatformExport(QWidget& window, QMenu& fileMenu, ViewController& controller,
                           Prompter& prompter) {
    auto* action = new QAction(QObject::tr("Export for &Platforms…"), &fileMenu);
    action->setObjectName(QStringLiteral("actionExportForPlatforms"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E));
    fileMenu.addAction(action);
    QObject::connect(action, &QAction::triggered, &window, [&window, &controller, &prompter] {
        auto* dialog = new PlatformExportDialog(
            prompter, [&controller] { return controller.LatestDesign(); }, &window);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        // The preview wall shows the dialog's badge as it is typed.
        if (auto* wall = window.findChild<PreviewWall*>())
            QObject::connect(dialog, &PlatformExportDialog::badgeChanged, wall,
                             &PreviewWall::SetBadge);
        dialog->open();
    });
}
