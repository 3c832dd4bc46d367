#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

// The real executable on a virtual X display: its window titled "Sigilon" appears within 20
// seconds, and a SIGTERM ends it cleanly with exit status 0.
class tst_EditorSmoke : public QObject {
    Q_OBJECT

private slots:
    void windowAppearsAndTheEditorQuitsCleanly() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty(),
                 "xvfb-run is missing; scripts/install-deps.sh installs it");
        const QString script = QStringLiteral(R"(
"$SIGILON_UNDER_TEST" 2>/dev/null &
pid=$!
for i in $(seq 1 100); do
  if xwininfo -root -tree | grep -q '"Sigilon": ("sigilon"'; then echo window; break; fi
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
kill -TERM $pid
wait $pid
echo "exit=$?"
)");
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("SIGILON_UNDER_TEST"),
                           QStringLiteral(SIGILON_EXECUTABLE));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the real X display this time
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("xvfb-run"),
                      {QStringLiteral("-a"), QStringLiteral("-s"),
                       QStringLiteral("-screen 0 1600x1000x24"), QStringLiteral("bash"),
                       QStringLiteral("-c"), script});
        QVERIFY2(process.waitForFinished(60000), "the editor did not end");
        const QString output = QString::fromLocal8Bit(process.readAllStandardOutput());
        QCOMPARE(output, QStringLiteral("window\nexit=0\n"));
    }

    void helpPagesAreBesideTheExecutable() {
        const QDir folder = QFileInfo(QStringLiteral(SIGILON_EXECUTABLE)).dir();
        for (const char* page : {"mac-app-icons.html", "ios-app-icon.html", "logo.html"})
            QVERIFY2(folder.exists(QStringLiteral("help/") + page), page);
    }
};

QTEST_GUILESS_MAIN(tst_EditorSmoke)
#include "tst_EditorSmoke.moc"
