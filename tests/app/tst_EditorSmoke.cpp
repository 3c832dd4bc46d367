#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "render/PlatformLooks.h"

#include <QtTest>

namespace {

// What scripts/with-display.sh returns when it could not start the virtual display.
constexpr int kNoDisplay = 125;

// The display's start and the script's waits at their longest, with room to spare.
constexpr int kLongestRun = 280000;

// Runs `script` under bash on a virtual X display of 1600 x 1000 pixels with the extra
// environment, once the editor started in the background (as $pid) shows its window titled
// "Sigilon" ("window"); then ends the editor with SIGTERM and prints its exit status (and, when
// that is not 0, the end of its error output). `extra` holds NAME=VALUE pairs.
ProgramRun::Result RunWithEditorOnVirtualDisplay(const QString& script, const QStringList& extra) {
    const QString start = QStringLiteral(R"(
"$SIGILON_UNDER_TEST" 2>editor-errors.txt &
pid=$!
deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ]; do
  if xwininfo -root -tree | grep -q '"Sigilon": ("sigilon"'; then echo window; break; fi
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
)");
    const QString end =
        QStringLiteral("\nkill -TERM $pid\nwait $pid\nstatus=$?\necho \"exit=$status\"\n"
                       "[ $status -eq 0 ] || tail -n 20 editor-errors.txt\n");
    // Without QT_QPA_PLATFORM: the real X display this time.
    return ProgramRun::Run(
        QStringLiteral("bash"),
        {QStringLiteral(SIGILON_SOURCE_DIR "/scripts/with-display.sh"), "--screen", "1600x1000x24",
         "bash", "-c", start + script + end},
        ProgramRun::WithEnvironment(extra + QStringList{"SIGILON_UNDER_TEST=" SIGILON_EXECUTABLE},
                                    {"QT_QPA_PLATFORM"}),
        kLongestRun);
}

} // namespace

// The real executable on a virtual X display: its window titled "Sigilon" appears within a
// minute, and a SIGTERM ends it cleanly with exit status 0.
class tst_EditorSmoke : public QObject {
    Q_OBJECT

private slots:
    // With the preview wall remembered as shown, the running editor shows it: the screen holds
    // the themed Android look's background (a disc of 128 pixels across, about 12 800 pixels).
    // Then Ctrl+Shift+E opens "Export for Platforms". The screenshots stay in the test's
    // working folder as preview-wall.png and platform-export-dialog.png, to be looked at.
    void wallAndPlatformExportDialogInTheRunningEditor() {
        QTemporaryDir configuration;
        QVERIFY(QDir(configuration.path()).mkpath(QStringLiteral("Sigilon")));
        QVERIFY(
            TestImages::WriteFile(configuration.filePath(QStringLiteral("Sigilon/Sigilon.conf")),
                                  "[General]\nShowPreviewWall=true\n"));
        const QStringList extra{"XDG_CONFIG_HOME=" + configuration.path(),
                                "WALL_COLOUR=" + PlatformLooks::ThemeBackground().name()};
        // The tiles are computed at idle priority: on a busy machine they may take a while.
        const QString waitForWallThenOpenDialog = QStringLiteral(R"(
deadline=$((SECONDS + 90))
while [ $SECONDS -lt $deadline ]; do
  import -window root preview-wall.png
  count=$(convert preview-wall.png -fill black +opaque "$WALL_COLOUR" -fill white -opaque "$WALL_COLOUR" \
          -format '%[fx:int(mean*w*h)]' info:)
  if [ "$count" -gt 10000 ]; then echo wall; break; fi
  sleep 1
done
xdotool search --name '^Sigilon$' windowfocus --sync key --clearmodifiers ctrl+shift+e
deadline=$((SECONDS + 30))
while [ $SECONDS -lt $deadline ]; do
  if xwininfo -root -tree | grep -q '"Export for Platforms"'; then
    sleep 0.5
    import -window root platform-export-dialog.png
    echo dialog
    break
  fi
  sleep 0.2
done
)");
        const ProgramRun::Result run =
            RunWithEditorOnVirtualDisplay(waitForWallThenOpenDialog, extra);
        QVERIFY2(run.exitCode != kNoDisplay, qPrintable(run.err));
        QCOMPARE(run.out, QStringLiteral("window\nwall\ndialog\nexit=0\n"));
    }

    void helpPagesAreBesideTheExecutable() {
        const QDir folder = QFileInfo(QStringLiteral(SIGILON_EXECUTABLE)).dir();
        for (const char* page :
             {"index.html", "mac-app-icons.html", "ios-app-icon.html", "logo.html"})
            QVERIFY2(folder.exists(QStringLiteral("help/") + page), page);
    }
};

QTEST_GUILESS_MAIN(tst_EditorSmoke)
#include "tst_EditorSmoke.moc"
