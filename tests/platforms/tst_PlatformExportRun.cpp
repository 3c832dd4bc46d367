// Where a platform export writes: what already sits at an output path (the rules every export
// shares) and symbolic links where the export needs a folder; and its progress hook: what it is
// told, and a run it stops leaves only whole files behind and reports exactly those.

#include "helpers/FolderListing.h"
#include "helpers/OutputOccupants.h"
#include "helpers/PlatformRun.h"
#include "helpers/TestImages.h"

#include <QtTest>

namespace {

const QList<PlatformTarget> Targets{PlatformTarget::Icns, PlatformTarget::Windows,
                                    PlatformTarget::Web, PlatformTarget::Linux};
const QByteArray OldContents = "kept as it was";
using PlatformRun::SmallDesign;

} // namespace

class tst_PlatformExportRun : public QObject {
    Q_OBJECT

    QTemporaryDir m_complete; // every file of an uninterrupted run, to compare with
    QList<PlannedFile> m_plan;

private slots:
    void initTestCase() {
        m_plan = PlatformRun::Plan(Targets, "Progress");
        QVERIFY(m_plan.size() > 6);
        QVERIFY(PlatformExport::Run(SmallDesign(), m_plan, m_complete.path(), false).AllWritten());
    }

    // `stopAfter`: the run is told to stop once that many files are done (-1: never). One
    // thread, so no file is begun beside the one that answered. The first planned file
    // exists beforehand and is kept.
    void stoppedRunLeavesWholeFilesOnly_data() {
        QTest::addColumn<int>("stopAfter");
        QTest::newRow("before drawing") << 0;
        QTest::newRow("after one file") << 1;
        QTest::newRow("after four files") << 4;
        QTest::newRow("never") << -1;
    }

    void stoppedRunLeavesWholeFilesOnly() {
        QFETCH(int, stopAfter);
        QTemporaryDir folder;
        const QString kept = m_plan.first().path;
        QVERIFY(TestImages::WriteFile(folder.filePath(kept), OldContents));

        const int toWrite = int(m_plan.size()) - 1;
        QMutex mutex;
        QList<int> dones;
        bool totalsRight = true;
        const auto progress = [&](int done, int total) {
            const QMutexLocker locker(&mutex);
            dones.append(done);
            totalsRight = totalsRight && total == toWrite;
            return stopAfter < 0 || done < stopAfter;
        };
        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), m_plan, folder.path(), false, 1, progress);

        const int written = stopAfter < 0 ? toWrite : stopAfter;
        QCOMPARE(result.stopped, stopAfter >= 0);
        QVERIFY(totalsRight);
        QVERIFY(std::is_sorted(dones.begin(), dones.end()));
        QCOMPARE(dones.first(), 0);
        QCOMPARE(dones.last(), written);

        // The kept file first, then the written ones in plan order, nothing for the rest.
        QCOMPARE(result.files.size(), 1 + written);
        QCOMPARE(result.files.first().action, ExportRun::FileAction::Kept);
        QSet<QString> reported;
        for (qsizetype i = 0; i < result.files.size(); ++i) {
            QCOMPARE(result.files[i].path, folder.filePath(m_plan[i].path));
            if (i > 0)
                QCOMPARE(result.files[i].action, ExportRun::FileAction::Written);
            reported.insert(m_plan[i].path);
        }
        // On disk exactly those, no temporary among them, each as an uninterrupted run
        // writes it.
        QCOMPARE(FolderListing::FilesUnder(folder.path()), reported);
        QCOMPARE(TestImages::ReadFile(folder.filePath(kept)), OldContents);
        for (const QString& path : reported) {
            if (path != kept)
                QVERIFY2(TestImages::ReadFile(folder.filePath(path)) ==
                             TestImages::ReadFile(m_complete.filePath(path)),
                         qPrintable(path));
        }
    }

    void occupantsOfTheOutputPath_data() { OutputOccupants::AddRows(); }

    void occupantsOfTheOutputPath() {
        QFETCH(int, occupant);
        QFETCH(bool, overwrite);
        QFETCH(int, outcome);
        // The smallest file of the Linux theme, alone.
        const PlannedFile file = PlatformRun::Plan({PlatformTarget::Linux}).first();
        QCOMPARE(file.images.first().pixels, 16);
        QTemporaryDir folder;
        const QString path = folder.filePath(file.path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        OutputOccupants::Scene scene(OutputOccupants::Occupant(occupant), path);

        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), {file}, folder.path(), overwrite, 1);
        QCOMPARE(result.files.size(), 1);
        QCOMPARE(int(result.files.first().action), outcome);
        QCOMPARE(result.AllWritten(), outcome != OutputOccupants::Failed);
        if (outcome == OutputOccupants::Failed)
            QVERIFY2(result.files.first().failure.contains(path),
                     qPrintable(result.files.first().failure));
        scene.Check(OutputOccupants::Outcome(outcome), 16);
        QCOMPARE(FolderListing::EntriesIn(QFileInfo(path).path()), QStringList{"AppIcon.png"});
    }

    // A link to another folder where a set needs a folder fails that set's files below it,
    // each naming the link; nothing goes through it, and the other sets are written.
    void linkedFoldersAreNotFollowed_data() {
        QTest::addColumn<QString>("link");
        QTest::newRow("android") << "android";
        QTest::newRow("android/res") << "android/res";
        QTest::newRow("asset catalog") << "AppIcon.appiconset";
        QTest::newRow("Linux theme size") << "linux/hicolor/16x16";
    }

    void linkedFoldersAreNotFollowed() {
        QFETCH(QString, link);
        QTemporaryDir folder;
        QTemporaryDir elsewhere;
        QVERIFY(QDir().mkpath(QFileInfo(folder.filePath(link)).path()));
        QVERIFY(QFile::link(elsewhere.path(), folder.filePath(link)));
        const QList<PlannedFile> plan = PlatformRun::Plan(
            {PlatformTarget::Xcode, PlatformTarget::Android, PlatformTarget::Linux});

        const PlatformExport::Result result =
            PlatformExport::Run(SmallDesign(), plan, folder.path(), false);
        QVERIFY(!result.AllWritten());
        QCOMPARE(result.files.size(), plan.size());
        int refused = 0;
        for (qsizetype i = 0; i < plan.size(); ++i) {
            const ExportRun::FileResult& file = result.files[i];
            if (plan[i].path.startsWith(link + u'/')) {
                ++refused;
                QCOMPARE(file.action, ExportRun::FileAction::Failed);
                QVERIFY2(file.failure.contains(folder.filePath(link)) &&
                             file.failure.contains("symbolic link"),
                         qPrintable(file.failure));
            } else {
                QCOMPARE(file.action, ExportRun::FileAction::Written);
                QVERIFY(QFileInfo(file.path).isFile());
            }
        }
        QVERIFY(refused > 0);
        QCOMPARE(FolderListing::EntriesIn(elsewhere.path()), QStringList());
    }
};

QTEST_MAIN(tst_PlatformExportRun)
#include "tst_PlatformExportRun.moc"
