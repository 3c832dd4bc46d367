#include "app/window/MainWindow.h"

#include "app/canvas/CanvasViewWiring.h"
#include "app/dialogs/AboutBox.h"
#include "app/window/Appearance.h"
#include "app/window/CanvasEditingWiring.h"
#include "app/window/EditorToolBar.h"
#include "app/window/HelpWiring.h"
#include "app/window/PlatformExportWiring.h"
#include "app/window/PreviewWallWiring.h"
#include "app/window/RecentProfiles.h"
#include "app/window/SvgExportWiring.h"
#include "app/window/SymbolPickerWiring.h"
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
    BuildMenus(prompter);
    // Quit was confirmed already; ending the main loop directly asks the window nothing more.
    connect(m_controller, &ViewController::terminateRequested, this,
            [] { QCoreApplication::exit(0); });
    // Most of the screen's height, so that most settings show, and the square preview as
    // large as that height allows beside them.
    if (const QScreen* screen = this->screen()) {
        const QSize available = screen->availableGeometry().size();
        const int height = int(available.height() * 0.85);
        const int previewGrowth = std::max(0, height - sizeHint().height());
        resize(QSize(sizeHint().width() + previewGrowth, height).boundedTo(available * 0.92));
    }
}

void MainWindow::BuildMenus(Prompter& prompter) {
    const ViewController::MenuActions& a = m_controller->menuActions();
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(a.fileNew);
    file->addAction(a.loadProfile);
    new RecentProfiles(*file->addMenu(tr("Open &Recent")), *m_controller, prompter);
    file->addAction(a.saveProfile);
    file->addAction(a.saveProfileAs);
    file->addSeparator();
    file->addAction(a.saveIcons);
    InstallPlatformExport(*this, *file, *m_controller, prompter);
    InstallSvgExport(*file, *m_controller, prompter);
    file->addSeparator();
    file->addAction(a.quit);
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(a.undo);
    edit->addAction(a.redo);
    InstallSymbolPicker(*this, *menuBar()->addMenu(tr("&Icon")), *m_controller, prompter);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(a.showCanvasMargins);
    InstallPreviewWall(*view, *m_controller);
    InstallCanvasView(*this, *view, *m_controller->controls().imageViewIcon);
    InstallCanvasEditing(*view, *m_controller);
    view->addSeparator();
    Appearance::InstallMenu(*view);
    QMenu* help = menuBar()->addMenu(tr("&Help"));
    InstallHelpWindow(*this, *help, *m_controller);
    help->addAction(a.howToCreateMacAppIcons);
    help->addAction(a.howToCreateAnIOSAppIcon);
    help->addAction(a.howToCreateALogo);
    help->addSeparator();
    help->addAction(tr("&About Sigilon"), this, [this] { AboutBox::Open(this); });
    InstallEditorToolBar(*this, a);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_controller->windowShouldClose())
        event->accept();
    else
        event->ignore();
}
