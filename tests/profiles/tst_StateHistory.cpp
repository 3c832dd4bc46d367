#include "profiles/StateHistory.h"

#include <QtTest>

// The history is driven the way the editor drives it: every completed preview records the
// design, a restart (start-up, New, Load) skips the record of its own preview, and so does
// every undo or redo.
class tst_StateHistory : public QObject {
    Q_OBJECT

    static QString Edit(int n) { return QStringLiteral("design %1\n").arg(n); }

    // The history after start-up (its first preview completed) and n edits.
    static StateHistory AfterEdits(int n) {
        StateHistory history;
        history.RestartHistory(Edit(0));
        for (int i = 0; i <= n; ++i)
            history.RecordState(Edit(i));
        return history;
    }

    // Undo or redo as the editor does it: move, put the entry back, and skip the record of the
    // preview that follows. Returns the entry put back, or nullopt at the end of the history.
    static std::optional<QString> Step(StateHistory& history, bool (StateHistory::*move)()) {
        if (!(history.*move)())
            return std::nullopt;
        const QString entry = history.stateImagesPath().at(history.currenState());
        history.SkipNextRecord();
        history.RecordState(entry);
        return entry;
    }
    static constexpr auto Undo = &StateHistory::Undo;
    static constexpr auto Redo = &StateHistory::Redo;

private slots:
    void beforeTheFirstEntry() {
        StateHistory history;
        QCOMPARE(history.currenState(), -1);
        QVERIFY(!history.Undo() && !history.Redo());
        history.RecordState(Edit(1));
        QCOMPARE(history.stateImagesPath(), QStringList{Edit(1)});
        QCOMPARE(history.currenState(), 0);
    }

    void restartKeepsOneEntryThroughItsPreview() {
        StateHistory history = AfterEdits(3);
        history.RestartHistory(Edit(7));
        QVERIFY(!history.needToSaveState());
        history.RecordState(Edit(7)); // the preview the restart requests
        QCOMPARE(history.stateImagesPath(), QStringList{Edit(7)});
        QVERIFY(history.needToSaveState());
        QVERIFY(!history.Undo() && !history.Redo());
        QCOMPARE(history.currenState(), 0);
    }

    void undoWalksBackToTheOldestKept_data() {
        QTest::addColumn<int>("edits");
        QTest::addColumn<int>("oldest");
        QTest::newRow("one edit") << 1 << 0;
        QTest::newRow("fifty edits, full") << 50 << 0;
        QTest::newRow("sixty edits keep the newest 51") << 60 << 10;
    }
    void undoWalksBackToTheOldestKept() {
        QFETCH(int, edits);
        QFETCH(int, oldest);
        StateHistory history = AfterEdits(edits);
        const QStringList entries = history.stateImagesPath();
        QCOMPARE(entries.size(), edits - oldest + 1);
        QCOMPARE(history.currenState(), entries.size() - 1);
        QCOMPARE(entries.last(), Edit(edits));
        for (int i = edits - 1; i >= oldest; --i)
            QCOMPARE(Step(history, Undo), Edit(i));
        QVERIFY(!history.Undo());
        QCOMPARE(history.currenState(), 0);
        QCOMPARE(history.stateImagesPath(), entries);
    }

    void undoThenRedoAddsNothingAndAFullHistoryStillPushesOut() {
        StateHistory history = AfterEdits(50);
        const QStringList before = history.stateImagesPath();
        QCOMPARE(Step(history, Undo), Edit(49));
        QCOMPARE(Step(history, Redo), Edit(50));
        QCOMPARE(history.stateImagesPath(), before);
        QVERIFY(!history.Redo());
        history.RecordState(Edit(51));
        QCOMPARE(history.stateImagesPath().size(), 51);
        QCOMPARE(history.stateImagesPath().first(), Edit(1));
        QCOMPARE(history.currenState(), 50);
    }

    void aNewEntryDropsTheRedoEntriesEvenWhenItRepeatsTheCurrent() {
        StateHistory history = AfterEdits(4);
        QCOMPARE(Step(history, Undo), Edit(3));
        QCOMPARE(Step(history, Undo), Edit(2));
        history.RecordState(Edit(2));
        QCOMPARE(history.stateImagesPath(), (QStringList{Edit(0), Edit(1), Edit(2), Edit(2)}));
        QCOMPARE(history.currenState(), 3);
        QVERIFY(!history.Redo());
    }
};

QTEST_APPLESS_MAIN(tst_StateHistory)
#include "tst_StateHistory.moc"
