#include "app/MainWindow.h"

#include "app/PreviewWallWiring.h"
#include "profiles/WindowTitle.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenuBar>
#include <QScreen>

MainWindow::MainWindow(Prompter& prompter, RatePreference& ratePreference,
                       ViewController::Renderer renderer, QWidget* parent)
    : QMainWindow(parent),
      m_controller(new ViewController(prompter, ratePreference, std::move(renderer), this)) {
    setWindowTitle(WindowTitle::Untitled());
    setCentralWidget(m_controller);
    BuildMenus();
    // Quit was confirmed already; ending the main loop directly asks the window nothing more.
    connect(m_controller, &ViewController::terminateRequested, this,
            [] { QCoreApplication::exit(0); });
    // As large as the layout asks for, within the screen.
    if (const QScreen* screen = this->screen())
        resize(sizeHint().boundedTo(screen->availableGeometry().size() * 0.92));
}

void MainWindow::BuildMenus() {
    const ViewController::MenuActions& a = m_controller->menuActions();
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(a.fileNew);
    file->addAction(a.loadProfile);
    file->addAction(a.saveProfile);
    file->addAction(a.saveProfileAs);
    file->addSeparator();
    file->addAction(a.saveIcons);
    file->addSeparator();
    file->addAction(a.quit);
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(a.undo);
    edit->addAction(a.redo);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(a.showCanvasMargins);
    InstallPreviewWall(*this, *view, *m_controller);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->addAction(a.howToCreateMacAppIcons);
    help->addAction(a.howToCreateAnIOSAppIcon);
    help->addAction(a.howToCreateALogo);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_controller->windowShouldClose())
        event->accept();
    else
        event->ignore();
}
