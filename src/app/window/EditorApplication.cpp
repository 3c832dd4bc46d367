#include "app/window/EditorApplication.h"

#include "app/dialogs/QtPrompter.h"
#include "app/window/CrashRecovery.h"
#include "app/window/MainWindow.h"
#include "app/window/StartupProfile.h"
#include "app/window/TerminationSignal.h"
#include "export/StoredRatePreference.h"
#include "imageio/ImageHelperProcess.h"

#include <QApplication>
#include <QThreadPool>

int RunEditor(int argc, char* argv[], const QString& profilePath) {
    QApplication application(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Sigilon"));
    QApplication::setApplicationName(QStringLiteral("Sigilon"));
    QApplication::setApplicationVersion(QStringLiteral(SIGILON_VERSION));
    // Lets the desktop match the window to the installed launcher entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(SIGILON_APP_ID));
    // Closing the window ends the application (the Qt default, relied on here).
    QApplication::setQuitOnLastWindowClosed(true);
    const TerminationSignal terminationSignal;
    // Icon images are opened one after another: each finds an image helper process started.
    ImageHelperProcess::KeepOneReady(true);

    int status = 0;
    {
        QtPrompter prompter;
        StartupProfilePrompter startupPrompter(prompter);
        StoredRatePreference ratePreference;
        MainWindow window(startupPrompter, ratePreference);
        prompter.setParent(&window);
        window.show();
        window.controller()->recovery().KeepOnTermination(terminationSignal);
        // Before the profile named at start, which asks first about unsaved changes restored.
        window.controller()->recovery().OfferLeftOver();
        if (!profilePath.isEmpty() && !terminationSignal.hasArrived())
            startupPrompter.OpenProfile(*window.controller(), profilePath);
        if (!terminationSignal.hasArrived())
            status = application.exec();
    }
    // The window is gone and has told its work to stop. A rendering may still be running on the
    // shared threads; it paints and lays out text, which needs the application object, so it
    // ends before that object does.
    QThreadPool::globalInstance()->waitForDone();
    return status;
}
