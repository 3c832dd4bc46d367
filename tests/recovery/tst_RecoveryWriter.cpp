// The writer that keeps an editor's recovery record off the window's thread: one job at a time
// in the order asked, a newer record never overtaken by an older one, a removal never undone by
// a write that was running, and of the jobs waiting only the last asked for.

#include "design/DesignSettings.h"
#include "helpers/TestImages.h"
#include "profiles/ProfileText.h"
#include "recovery/RecoveryFolder.h"
#include "recovery/RecoveryWriter.h"

#include <QtTest>

#include <atomic>

namespace {

RecoveryRecord Record(const QString& text, const QByteArray& image = {}) {
    DesignSettings settings;
    settings.text = text;
    RecoveryRecord record;
    record.savedAt = QDateTime(QDate(2026, 5, 2), QTime(9, 30), Qt::UTC);
    record.imagePath = image.isEmpty() ? QString() : QStringLiteral("/home/user/icon.png");
    record.imageBytes = image;
    record.profileText = MakeProfileText(settings);
    return record;
}

// The design's text a record holds.
QString TextOf(const RecoveryRecord& record) {
    DesignSettings settings;
    return ApplyProfileText(settings, record.profileText, false) ? settings.text : QString();
}

// A recovery folder whose writes can be held: while `hold` is on, each write waits, once it has
// begun, until the test lets it go on, as a write of a large image copy to a slow disk would.
// It tells which jobs ran, in order, and whether two ever ran at once.
class HeldFolder : public RecoveryStore {
public:
    explicit HeldFolder(const QString& folder) : m_folder(folder) {}

    WriteResult Write(const RecoveryRecord& record) override {
        const Running running(*this);
        Log(TextOf(record));
        // Only a held write is waited for: one that went straight through must not count as
        // the next held one having begun.
        if (hold) {
            m_begun.release();
            m_goOn.acquire();
        }
        return m_folder.Write(record);
    }
    void RemoveOwn() override {
        const Running running(*this);
        Log(QStringLiteral("removed"));
        m_folder.RemoveOwn();
    }

    std::atomic<bool> hold{false};
    // Waits until the next held write has begun; false when none began within a generous time.
    bool WaitForWriteToBegin() { return m_begun.tryAcquire(1, 10000); }
    void LetWriteGoOn() { m_goOn.release(); }

    QStringList Jobs() {
        const QMutexLocker locker(&m_mutex);
        return m_jobs;
    }
    bool overlapped() const { return m_overlapped; }
    // The record on disk: its text, or "" when there is none.
    QString Kept() const {
        const std::optional<RecoveryRecord> record = RecoveryFolder::ReadRecord(ownFilePath());
        return record ? TextOf(*record) : QString();
    }
    QString ownFilePath() const { return m_folder.ownFilePath(); }
    // The files kept besides the lock: the record and its image copy.
    QStringList Files() const {
        QStringList files =
            QDir(m_folder.folder()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        return files.filter(QRegularExpression("^(?!.*\\.lock$)"));
    }

private:
    struct Running {
        explicit Running(HeldFolder& folder) : m_folder(folder) {
            if (++m_folder.m_running > 1)
                m_folder.m_overlapped = true;
        }
        ~Running() { --m_folder.m_running; }
        HeldFolder& m_folder;
    };

    void Log(const QString& job) {
        const QMutexLocker locker(&m_mutex);
        m_jobs.append(job);
    }

    RecoveryFolder m_folder;
    QSemaphore m_begun;
    QSemaphore m_goOn;
    std::atomic<int> m_running{0};
    std::atomic<bool> m_overlapped{false};
    QMutex m_mutex;
    QStringList m_jobs;
};

} // namespace

class tst_RecoveryWriter : public QObject {
    Q_OBJECT

    QTemporaryDir m_state;
    int m_folders = 0;

    QString NewFolder() { return m_state.filePath(QString::number(++m_folders)); }

private slots:
    // A slow write (a new image's copy) and then quick ones asked for while it runs: the newest
    // is what stays, the one between is never written, and no two writes run at once. A writer
    // that ends (the window closing) first does the job waiting.
    void newerRecordIsNeverOvertaken() {
        HeldFolder folder(NewFolder());
        QStringList reported;
        {
            RecoveryWriter writer(folder);
            connect(
                &writer, &RecoveryWriter::written, this,
                [&reported](const WriteResult& result) {
                    reported.append(result ? QStringLiteral("done") : result.failure);
                },
                Qt::DirectConnection);
            folder.hold = true;
            writer.Write(Record("slow", QByteArray(4 << 20, 'i')));
            QVERIFY(folder.WaitForWriteToBegin());
            writer.Write(Record("between"));
            writer.Write(Record("newest", QByteArray(4 << 20, 'i')));
            folder.hold = false;
            folder.LetWriteGoOn();
        }
        QCOMPARE(folder.Jobs(), (QStringList{"slow", "newest"}));
        QCOMPARE(folder.Kept(), QStringLiteral("newest"));
        QVERIFY(!folder.overlapped());
        QCOMPARE(reported, (QStringList{"done", "done"}));
    }

    // Removed while a write runs (a Save right after a change): the removal follows the write,
    // so neither the record nor its image copy comes back; a write asked for after the removal
    // replaces it while it waits, and its record stays.
    void removalWhileAWriteRuns_data() {
        QTest::addColumn<bool>("writtenAgain");
        QTest::newRow("removed") << false;
        QTest::newRow("removed, then changed again") << true;
    }
    void removalWhileAWriteRuns() {
        QFETCH(bool, writtenAgain);
        HeldFolder folder(NewFolder());
        RecoveryWriter writer(folder);
        writer.Write(Record("before"));
        writer.Finish();
        folder.hold = true;
        writer.Write(Record("running", QByteArray(1000, 'i')));
        QVERIFY(folder.WaitForWriteToBegin());
        writer.Remove();
        if (writtenAgain)
            writer.Write(Record("after"));
        folder.hold = false;
        folder.LetWriteGoOn();
        writer.Finish();
        QVERIFY(!folder.overlapped());
        if (writtenAgain) {
            QCOMPARE(folder.Jobs(), (QStringList{"before", "running", "after"}));
            QCOMPARE(folder.Kept(), QStringLiteral("after"));
            QCOMPARE(folder.Files(), QStringList{QFileInfo(folder.ownFilePath()).fileName()});
        } else {
            QCOMPARE(folder.Jobs(), (QStringList{"before", "running", "removed"}));
            QCOMPARE(folder.Files(), QStringList{});
        }
    }

    // The writes' results reach a receiver on the window's thread through its event loop, in
    // order; a write that fails says why, and a folder that cannot be made offers nothing.
    void resultsReachTheReceiversThread() {
        QTemporaryDir state;
        QVERIFY(TestImages::WriteFile(state.filePath("sigilon"), "a file where the folder goes"));
        RecoveryFolder blocked(state.filePath("sigilon/inside"));
        RecoveryWriter writer(blocked);
        QList<bool> results;
        QList<bool> onThisThread;
        connect(&writer, &RecoveryWriter::written, this, [&](const WriteResult& result) {
            results.append(bool(result));
            onThisThread.append(QThread::currentThread() == thread());
            QVERIFY(!result.failure.isEmpty());
        });
        writer.Write(Record("one"));
        writer.Finish();
        writer.Write(Record("two"));
        writer.Finish();
        QTRY_COMPARE(results.size(), 2);
        QCOMPARE(results, (QList<bool>{false, false}));
        QCOMPARE(onThisThread, (QList<bool>{true, true}));
        QVERIFY(!blocked.TakeLeftOver());
    }
};

QTEST_GUILESS_MAIN(tst_RecoveryWriter)
#include "tst_RecoveryWriter.moc"
