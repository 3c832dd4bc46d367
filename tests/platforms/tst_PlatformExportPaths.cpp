// Where a platform export writes: what already sits at an output path (the rules every export
// shares), and symbolic links where the export needs a folder.

#include "helpers/FolderListing.h"
#include "helpers/OutputOccupants.h"
#include "helpers/PlatformRun.h"

#include <QtTest>

using PlatformRun::SmallDesign;

class tst_PlatformExportPaths : public QObject {
    Q_OBJECT

private slots:
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

QTEST_MAIN(tst_PlatformExportPaths)
#include "tst_PlatformExportPaths.moc"
