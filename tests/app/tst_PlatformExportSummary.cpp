#include "app/dialogs/PlatformExportSummary.h"

#include <QtTest>

// The message that ends a platform export stays a few lines however many files failed: the
// counts, one sentence with the commonest cause, and each failed file in the details only.
class tst_PlatformExportSummary : public QObject {
    Q_OBJECT

private slots:
    void summary_data() {
        QTest::addColumn<QStringList>("outcomes"); // per file: "written", "kept" or the failure
        QTest::addColumn<int>("planned");
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<QStringList>("said"); // each part of the message
        const QString denied = QStringLiteral("Permission denied.");
        const QString full = QStringLiteral("No space left on device.");
        QStringList refused(61, denied);
        refused << "written"
                << "kept";
        QTest::newRow("all written") << QStringList{"written", "written", "kept"} << 3 << false
                                     << QStringList{"Files written: 2, skipped: 1, failed: 0."};
        QTest::newRow("one cause for many")
            << refused << 63 << false
            << QStringList{"failed: 61.", "Could not save 61 files: " + denied};
        QTest::newRow("one failure") << QStringList{full, "written"} << 2 << false
                                     << QStringList{"failed: 1.", "Could not save 1 file: " + full};
        QTest::newRow("the commonest of several causes")
            << QStringList{full, denied, denied, "written"} << 4 << false
            << QStringList{"failed: 3.", "Could not save 3 files; for 2 of them: " + denied};
        QTest::newRow("cancelled")
            << QStringList{"written", full} << 6 << true
            << QStringList{"Could not save 1 file: " + full, "cancelled; 4 files were not written"};
    }
    void summary() {
        QFETCH(QStringList, outcomes);
        QFETCH(int, planned);
        QFETCH(bool, stopped);
        QFETCH(QStringList, said);
        PlatformExport::Result result;
        result.stopped = stopped;
        result.notes = {QStringLiteral("A note about the pictures.")};
        QStringList failedFiles;
        for (const QString& outcome : outcomes) {
            using enum ExportRun::FileAction;
            const QString path = QStringLiteral("/icons/%1.png").arg(result.files.size());
            const auto action = outcome == u"written" ? Written
                                : outcome == u"kept"  ? Kept
                                                      : Failed;
            result.files.append({path, action, action == Failed ? outcome : QString()});
            if (action == Failed)
                failedFiles.append(path + QStringLiteral(": ") + outcome);
        }

        const PlatformExportSummary summary = PlatformExportSummary::Of(result, planned);
        for (const QString& part : said + result.notes)
            QVERIFY2(summary.message.contains(part), qPrintable(summary.message));
        QVERIFY2(!summary.message.contains(QStringLiteral("/icons/")), qPrintable(summary.message));
        QVERIFY(summary.message.count(u'\n') <= 8);
        QCOMPARE(summary.details, failedFiles.join(u'\n'));
    }
};

QTEST_GUILESS_MAIN(tst_PlatformExportSummary)
#include "tst_PlatformExportSummary.moc"
