#include "app/window/SvgExportWiring.h"

#include "app/window/ViewController.h"
#include "export/OutputFileWrite.h"
#include "export/Prompter.h"
#include "render/SvgWriter.h"

#include <QAction>
#include <QMenu>

void InstallSvgExport(QMenu& fileMenu, ViewController& controller, Prompter& prompter) {
    auto* action = new QAction(QObject::tr("Export as &SVG…"), &fileMenu);
    action->setObjectName(QStringLiteral("actionExportAsSvg"));
    fileMenu.addAction(action);
    QObject::connect(action, &QAction::triggered, &fileMenu, [&controller, &prompter] {
        const std::optional<QString> path =
            prompter.ChooseSaveFile(QStringLiteral("icon.svg"), QStringLiteral("svg"));
        if (!path || path->isEmpty())
            return;
        if (const WriteResult written =
                WriteOutputFile(*path, SvgDocument(controller.LatestDesign()));
            !written)
            prompter.Alert(written.failure);
    });
}
