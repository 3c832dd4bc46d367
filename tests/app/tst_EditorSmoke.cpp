#include "design/DesignSettings.h"
#include "helpers/ProgramRun.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileText.h"
#include "recovery/RecoveryFolder.h"
#include "render/PlatformLooks.h"
#include "support/AddressSanitizer.h"

#include <QtTest>

#include <functional>

namespace {

// What scripts/with-display.sh returns when it could not start the virtual display.
constexpr int kNoDisplay = 125;

// The display's start and the script's waits at their longest, with room to spare.
constexpr int kLongestRun = 280000;

// Runs `script` under bash on a virtual X display of 1600 x 1000 pixels with the extra
// environment (NAME=VALUE pairs) and the editor's path as $SIGILON_UNDER_TEST.
ProgramRun::Result RunOnVirtualDisplay(const QString& script, const QStringList& extra) {
    // Without QT_QPA_PLATFORM: the real X display this time.
    return ProgramRun::Run(
        QStringLiteral("bash"),
        {QStringLiteral(SIGILON_SOURCE_DIR "/scripts/with-display.sh"), "--screen", "1600x1000x24",
         "bash", "-c", script},
        ProgramRun::WithEnvironment(extra + QStringList{"SIGILON_UNDER_TEST=" SIGILON_EXECUTABLE},
                                    {"QT_QPA_PLATFORM"}),
        kLongestRun);
}

// Runs `script` once the editor started as $pid shows its window, then ends it with SIGTERM and
// prints its exit status. The leak checker is off for this editor alone: a signal ends it while
// background work may hold memory, which is no leak; the window tests run that code checked.
ProgramRun::Result RunWithEditorOnVirtualDisplay(const QString& script, const QStringList& extra) {
    const QString start = QStringLiteral(R"(
LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0" "$SIGILON_UNDER_TEST" 2>editor-errors.txt &
pid=$!
deadline=$((SECONDS + 60))
while [ $SECONDS -lt $deadline ]; do
  if xwininfo -root -tree | grep -q '"Sigilon": ("sigilon"'; then echo window; break; fi
  kill -0 $pid 2>/dev/null || break
  sleep 0.2
done
)");
    // An editor that lets the signal go is ended after 30 s, its status then 137.
    const QString end = QStringLiteral(R"(
kill -TERM $pid
for tenth in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && kill -KILL $pid
wait $pid
status=$?
echo "exit=$status"
[ $status -eq 0 ] || tail -n 20 editor-errors.txt
)");
    return RunOnVirtualDisplay(start + script + end, extra);
}

// Made once more when the script did not get through: a busy display now and then drops a
// client, which says nothing of the editor. A fault of the editor fails both runs.
ProgramRun::Result SecondTryIfNot(const QString& expected,
                                  const std::function<ProgramRun::Result()>& run) {
    ProgramRun::Result first = run();
    if (first.out == expected || first.exitCode == kNoDisplay)
        return first;
    qWarning("the first run on the virtual display did not get through, trying once more:\n%s",
             qPrintable(first.out));
    return run();
}

// The letters typed in one round, each with the moment it went out (seconds).
struct TypedLetters {
    QList<double> moments;
    QString letters;
};

TypedLetters ReadTyped(const QString& path) {
    TypedLetters typed;
    for (const QString& line : QString::fromUtf8(TestImages::ReadFile(path)).split(u'\n')) {
        const QStringList parts = line.split(u' ');
        if (parts.size() != 2)
            continue;
        typed.moments.append(parts[0].toDouble());
        typed.letters += parts[1];
    }
    return typed;
}

// The record of the one recovery file in the folder; nullopt when there is none, and a failure
// when there are more or it cannot be read.
std::optional<RecoveryRecord> OnlyRecord(const QString& folder, bool* ok) {
    const QStringList files = QDir(folder).entryList(QDir::Files);
    *ok = files.size() <= 1;
    if (files.size() != 1)
        return std::nullopt;
    std::optional<RecoveryRecord> record =
        RecoveryFolder::ReadRecord(QDir(folder).filePath(files[0]));
    *ok = record.has_value();
    return record;
}

DesignSettings Design(const RecoveryRecord& record) {
    DesignSettings settings;
    ApplyProfileText(settings, record.profileText, false);
    return settings;
}

} // namespace

// The real executable on a virtual X display: its window titled "Sigilon" appears within a
// minute, and a SIGTERM ends it cleanly with exit status 0.
class tst_EditorSmoke : public QObject {
    Q_OBJECT

private slots:
    // The wall remembered as shown shows the themed Android look's disc (about 12 800 pixels);
    // Ctrl+Shift+E opens the platform dialog. The screenshots stay, to be looked at.
    void wallAndPlatformExportDialogInTheRunningEditor() {
        QTemporaryDir configuration;
        QVERIFY(QDir(configuration.path()).mkpath(QStringLiteral("Sigilon")));
        QVERIFY(
            TestImages::WriteFile(configuration.filePath(QStringLiteral("Sigilon/Sigilon.conf")),
                                  "[General]\nShowPreviewWall=true\n"));
        // A state folder of its own: a design left by another editor would be asked about first.
        QTemporaryDir state;
        const QStringList extra{"XDG_CONFIG_HOME=" + configuration.path(),
                                "XDG_STATE_HOME=" + state.path(),
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
        const QString expected = QStringLiteral("window\nwall\ndialog\nexit=0\n");
        const ProgramRun::Result run = SecondTryIfNot(expected, [&] {
            return RunWithEditorOnVirtualDisplay(waitForWallThenOpenDialog, extra);
        });
        QVERIFY2(run.exitCode != kNoDisplay, qPrintable(run.err));
        QCOMPARE(run.out, expected);
    }

    // Killed at random moments while the user types, the next start offers the design as it
    // was at most 5 s before the kill; Return restores it, Escape discards it. The rounds are
    // driven by killed-rounds.sh beside this test. A sanitized editor takes seconds to take its
    // first letters: there the rounds check what is offered and kept, not how soon.
    void killedEditorOffersItsRecentDesign() {
        constexpr int kRounds = 20;
        constexpr double kLongestLoss = kUnderAddressSanitizer ? 15.0 : 5.0;
        QDir work(QDir::current().filePath("killed-rounds"));
        QVERIFY(work.removeRecursively() && QDir().mkpath(work.path()));
        const quint32 seed = QRandomGenerator::global()->bounded(32768u);
        const QString expected = QStringLiteral("end=0\nrounds done\n");
        const ProgramRun::Result run = SecondTryIfNot(expected, [&] {
            // Each run from an empty folder: the rounds append to their files.
            work.removeRecursively();
            QDir().mkpath(work.path());
            return RunOnVirtualDisplay(QString::fromUtf8(TestImages::ReadFile(
                                           SIGILON_SOURCE_DIR "/tests/app/killed-rounds.sh")),
                                       {"WORK=" + work.path(), "ROUNDS=" + QString::number(kRounds),
                                        "RANDOM_SEED=" + QString::number(seed)});
        });
        QVERIFY2(run.exitCode != kNoDisplay, qPrintable(run.err));
        QCOMPARE(run.out, expected);
        const QString context = QStringLiteral(" (seed %1, in %2)").arg(seed).arg(work.path());

        int restored = 0;
        int discarded = 0;
        for (int round = 1; round <= kRounds + 1; ++round) {
            const QString dir = work.filePath("rounds/" + QString::number(round));
            const QString where = QStringLiteral("round %1").arg(round) + context;
            bool ok = false;
            const std::optional<RecoveryRecord> left = OnlyRecord(dir + "/left", &ok);
            QVERIFY2(ok, qPrintable("more than one file left, or one unreadable: " + where));
            const QString answer =
                QString::fromUtf8(TestImages::ReadFile(dir + "/answer")).trimmed();
            const QString title = QString::fromUtf8(TestImages::ReadFile(dir + "/title")).trimmed();
            QCOMPARE(answer.isEmpty(), !left.has_value());
            if (!answer.isEmpty())
                QCOMPARE(title, answer == "restore" ? "Sigilon*" : "Sigilon");
            restored += answer == "restore";
            discarded += answer == "discard";
            if (round > kRounds)
                break;

            const TypedLetters typed = ReadTyped(dir + "/typed");
            const double killed = TestImages::ReadFile(dir + "/killed").trimmed().toDouble();
            QVERIFY2(killed > 0, qPrintable(where));
            bool nextOk = false;
            const std::optional<RecoveryRecord> offered = OnlyRecord(
                work.filePath("rounds/" + QString::number(round + 1)) + "/left", &nextOk);
            QVERIFY2(nextOk, qPrintable(where));
            const std::optional<QString> base =
                answer == "restore" ? std::optional(Design(*left).text) : std::nullopt;
            const std::optional<QString> offeredText =
                offered ? std::optional(Design(*offered).text) : std::nullopt;
            // The offered design lasted until the next letter went out, less than 5 s before
            // the kill; a restored design that is also a run of letters counts as the later.
            qsizetype letters = -1;
            if (offeredText && !offeredText->isEmpty() && typed.letters.startsWith(*offeredText))
                letters = offeredText->size();
            else if (offeredText == base)
                letters = 0;
            QVERIFY2(letters >= 0, qPrintable("offered \"" + offeredText.value_or("nothing") +
                                              "\", never shown: " + where));
            // The message is made whether or not the check fails: no moment is read past the
            // last letter.
            const bool lastShown = letters >= typed.moments.size();
            const double replaced = lastShown ? 0.0 : killed - typed.moments[letters];
            QVERIFY2(replaced <= kLongestLoss,
                     qPrintable(QStringLiteral("offered \"%1\", replaced %2 s before the kill: ")
                                    .arg(offeredText.value_or("nothing"))
                                    .arg(replaced) +
                                where));
        }
        // The moments are random, but most rounds outlast the 3 s a design takes to be kept.
        QVERIFY2(restored > 0 && discarded > 0, qPrintable(context));
    }

    // Ended by a logout's SIGTERM with a change made, it asks nothing and keeps the design; ended
    // so again while the next start asks about that design, it keeps it for the start after.
    void terminatedEditorKeepsItsUnsavedDesign() {
        QTemporaryDir configuration;
        QTemporaryDir state;
        const QString typeThenWaitForTheMarker = QStringLiteral(R"(
window=$(xdotool search --onlyvisible --pid $pid --name '^Sigilon$' | head -n 1)
xdotool windowfocus --sync $window key --clearmodifiers alt+t ctrl+a
xdotool type 'Logout'
deadline=$((SECONDS + 30))
while [ $SECONDS -lt $deadline ]; do
  if xwininfo -root -tree | grep -q '"Sigilon\*": ("sigilon"'; then echo marked; break; fi
  sleep 0.1
done
# The letters typed after the first are on their way too.
sleep 1
)");
        const QDir folder(state.filePath("sigilon"));
        // Run from an empty state folder, or from what the run before kept.
        const auto runThenKeptText = [&](const QString& script, const QString& expected,
                                         bool fromNothing) {
            const ProgramRun::Result run = SecondTryIfNot(expected, [&] {
                if (fromNothing)
                    QDir(folder.path()).removeRecursively();
                return RunWithEditorOnVirtualDisplay(
                    script,
                    {"XDG_CONFIG_HOME=" + configuration.path(), "XDG_STATE_HOME=" + state.path()});
            });
            QVERIFY2(run.exitCode != kNoDisplay, qPrintable(run.err));
            QCOMPARE(run.out, expected);
            bool ok = false;
            const std::optional<RecoveryRecord> kept = OnlyRecord(folder.path(), &ok);
            QVERIFY(ok && kept);
            QCOMPARE(Design(*kept).text, QStringLiteral("Logout"));
        };
        runThenKeptText(typeThenWaitForTheMarker, QStringLiteral("window\nmarked\nexit=0\n"), true);
        if (QTest::currentTestFailed())
            return;
        const QString waitForTheQuestion = QStringLiteral(R"sh(
deadline=$((SECONDS + 30))
while [ $SECONDS -lt $deadline ]; do
  if [ "$(xwininfo -root -tree | grep -c '"Sigilon[^"]*": ("sigilon"')" -ge 2 ]; then echo asked; break; fi
  sleep 0.1
done
)sh");
        runThenKeptText(waitForTheQuestion, QStringLiteral("window\nasked\nexit=0\n"), false);
    }
};

QTEST_GUILESS_MAIN(tst_EditorSmoke)
#include "tst_EditorSmoke.moc"
