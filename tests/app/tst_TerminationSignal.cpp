// A quit from outside the editor: SIGTERM (a logout, kill) and SIGINT (Ctrl+C in the terminal
// that started it) end the main loop normally, so the window's work can finish or clean up.

#include "app/window/TerminationSignal.h"

#include <QtTest>

#include <csignal>
#include <unistd.h>

class tst_TerminationSignal : public QObject {
    Q_OBJECT

private slots:
    void quitSignalsEndTheMainLoop_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGINT") << SIGINT;
    }

    void quitSignalsEndTheMainLoop() {
        QFETCH(int, signal);
        const TerminationSignal termination;
        QVERIFY(termination.isInstalled());
        QTimer::singleShot(0, this, [signal] { ::kill(::getpid(), signal); });
        // Only a loop the signal failed to end gets here; the generous wait is no measure.
        QTimer guard;
        guard.setSingleShot(true);
        guard.callOnTimeout([] { QCoreApplication::exit(1); });
        guard.start(60000);
        QCOMPARE(QCoreApplication::exec(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_TerminationSignal)
#include "tst_TerminationSignal.moc"
