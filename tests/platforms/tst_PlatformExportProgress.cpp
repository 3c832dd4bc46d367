// The progress hook of a platform export: what it is told, and a run it stops leaves only
// whole files behind and reports exactly the files it settled.

#include "helpers/FolderListing.h"
#include "helpers/PlatformRun.h"
#include "helpers/TestImages.h"

#include <QtTest>

namespace {

const QList<PlatformTarget> Targets{PlatformTarget::Icns, PlatformTarget::Windows,
                                    PlatformTarget::Web, PlatformTarget::Linux};
const QByteArray OldContents = "kept as it was";
using PlatformRun::SmallDesign;

} // namespace

class tst_PlatformExportProgress : public QObject {
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
};

QTEST_MAIN(tst_PlatformExportProgress)
#include "tst_PlatformExportProgress.moc"
