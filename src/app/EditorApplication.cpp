#include "app/EditorApplication.h"

#include "app/MainWindow.h"
#include "app/QtPrompter.h"
#include "app/TerminationSignal.h"
#include "export/StoredRatePreference.h"

#include <QApplication>

int RunEditor(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sigilon"));
    QApplication::setApplicationName(QStringLiteral("Sigilon"));
    QApplication::setApplicationVersion(QStringLiteral(SIGILON_VERSION));
    // Closing the window ends the application (the Qt default, relied on here).
    QApplication::setQuitOnLastWindowClosed(true);
    const TerminationSignal terminationSignal;

    QtPrompter prompter;
    StoredRatePreference ratePreference;
    MainWindow window(prompter, ratePreference);
    prompter.setParent(&window);
    window.show();
    return application.exec();
}
