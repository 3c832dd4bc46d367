#include "app/window/HelpWiring.h"

#include "app/dialogs/HelpPages.h"
#include "app/dialogs/HelpWindow.h"
#include "app/window/ViewController.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>

void InstallHelpWindow(QMainWindow& window, QMenu& helpMenu, ViewController& controller) {
    const QUrl contents = HelpPages::Url(HelpPages::Contents);
    auto* helpWindow = new HelpWindow(contents, &window);
    QAction* open = helpMenu.addAction(QObject::tr("Sigilon &Help"));
    open->setShortcut(QKeySequence::HelpContents);
    QObject::connect(open, &QAction::triggered, helpWindow,
                     [helpWindow, contents] { helpWindow->Open(contents); });
    helpMenu.addSeparator();
    QObject::connect(&controller, &ViewController::helpPageRequested, helpWindow,
                     &HelpWindow::Open);
}
