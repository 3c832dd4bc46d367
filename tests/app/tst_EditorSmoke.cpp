#include "design/PlatformLooks.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Starts the editor in the background as $SIGILON_UNDER_TEST and waits (up to 20 seconds) for
// its window titled "Sigilon", printing "window" when it is there and leaving its process id in
// $pid; the part of a script that the smoke tests share.
const QString kStartEditor = QStringLiteral(R"(
"$SIGILON_UNDER_TEST" 2>/dev/null &
pid=$!
for i in $(seq 1 100); do
  if xwininfo -root -tree | grep -q '"Sigilon": ("sigilon"'; then echo window; break; fi
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
)");

// Ends the editor with SIGTERM and prints its exit status.
const QString kEndEditor = QStringLiteral(R"(
kill -TERM $pid
wait $pid
echo "exit=$?"
)");

// Runs the script under bash on a virtual X display of 1600 x 1000 pixels with the extra
// environment, and returns what it printed (empty when it did not end within 90 seconds).
QString RunOnVirtualDisplay(const QString& script, const QProcessEnvironment& extra = {}) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("SIGILON_UNDER_TEST"), QStringLiteral(SIGILON_EXECUTABLE));
    environment.remove(QStringLiteral("QT_QPA_PLATFORM")); // the real X display this time
    environment.insert(extra);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral("xvfb-run"),
                  {QStringLiteral("-a"), QStringLiteral("-s"),
                   QStringLiteral("-screen 0 1600x1000x24"), QStringLiteral("bash"),
                   QStringLiteral("-c"), script});
    if (!process.waitForFinished(90000))
        return QString();
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

} // namespace

// The real executable on a virtual X display: its window titled "Sigilon" appears within 20
// seconds, and a SIGTERM ends it cleanly with exit status 0.
class tst_EditorSmoke : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("xvfb-run")).isEmpty(),
                 "xvfb-run is missing; scripts/install-deps.sh installs it");
    }

    // With the preview wall remembered as shown, the running editor shows it: the screen holds
    // the themed Android look's background (a disc of 128 pixels across, about 12 800 pixels).
    // Then Ctrl+Shift+E opens "Export for Platforms". The screenshots stay in the test's
    // working folder as preview-wall.png and platform-export-dialog.png, to be looked at.
    void wallAndPlatformExportDialogInTheRunningEditor() {
        QTemporaryDir configuration;
        QVERIFY(QDir(configuration.path()).mkpath(QStringLiteral("Sigilon")));
        QFile settings(configuration.filePath(QStringLiteral("Sigilon/Sigilon.conf")));
        QVERIFY(settings.open(QIODevice::WriteOnly));
        settings.write("[General]\nShowPreviewWall=true\n");
        settings.close();
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("XDG_CONFIG_HOME"), configuration.path());
        extra.insert(QStringLiteral("WALL_COLOUR"), PlatformLooks::ThemeBackground().name());
        // The tiles are computed at idle priority: on a busy machine they may take a while.
        const QString waitForWallThenOpenDialog = QStringLiteral(R"(
for i in $(seq 1 30); do
  import -window root preview-wall.png
  count=$(convert preview-wall.png -fill black +opaque "$WALL_COLOUR" -fill white -opaque "$WALL_COLOUR" \
          -format '%[fx:int(mean*w*h)]' info:)
  if [ "$count" -gt 10000 ]; then echo wall; break; fi
  sleep 1
done
xdotool search --name '^Sigilon$' windowfocus --sync key --clearmodifiers ctrl+shift+e
for i in $(seq 1 50); do
  if xwininfo -root -tree | grep -q '"Export for Platforms"'; then
    sleep 0.5
    import -window root platform-export-dialog.png
    echo dialog
    break
  fi
  sleep 0.2
done
)");
        QCOMPARE(RunOnVirtualDisplay(kStartEditor + waitForWallThenOpenDialog + kEndEditor, extra),
                 QStringLiteral("window\nwall\ndialog\nexit=0\n"));
    }

    void helpPagesAreBesideTheExecutable() {
        const QDir folder = QFileInfo(QStringLiteral(SIGILON_EXECUTABLE)).dir();
        for (const char* page : {"mac-app-icons.html", "ios-app-icon.html", "logo.html"})
            QVERIFY2(folder.exists(QStringLiteral("help/") + page), page);
    }
};

QTEST_GUILESS_MAIN(tst_EditorSmoke)
#include "tst_EditorSmoke.moc"
