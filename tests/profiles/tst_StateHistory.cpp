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
        history.RecordState(Edit(0));
        for (int i = 1; i <= n; ++i)
            history.RecordState(Edit(i));
        return history;
    }

    static QString Current(const StateHistory& history) {
        return history.stateImagesPath().at(history.currenState());
    }

    // Undo or redo as the editor does it: move, put the entry back, and skip the record of the
    // preview that follows. Returns the entry put back, or nullopt at the end of the history.
    static std::optional<QString> Step(StateHistory& history, bool (StateHistory::*move)()) {
        if (!(history.*move)())
            return std::nullopt;
        const QString entry = Current(history);
        history.SkipNextRecord();
        history.RecordState(entry);
        return entry;
    }
    static std::optional<QString> UndoAndPreview(StateHistory& history) {
        return Step(history, &StateHistory::Undo);
    }
    static std::optional<QString> RedoAndPreview(StateHistory& history) {
        return Step(history, &StateHistory::Redo);
    }

private slots:
    void beforeTheFirstEntry() {
        StateHistory history;
        QCOMPARE(history.currenState(), -1);
        QCOMPARE(history.numberOfStates(), 50);
        QVERIFY(history.needToSaveState());
        QVERIFY(!history.Undo());
        QVERIFY(!history.Redo());
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
        QCOMPARE(history.currenState(), 0);
        QVERIFY(history.needToSaveState());
        QVERIFY(!history.Undo());
        QVERIFY(!history.Redo());
        QCOMPARE(history.currenState(), 0);
    }

    void undoWalksBackToTheStart_data() {
        QTest::addColumn<int>("edits");
        QTest::newRow("one edit") << 1;
        QTest::newRow("five edits") << 5;
        QTest::newRow("fifty edits") << 50;
    }
    void undoWalksBackToTheStart() {
        QFETCH(int, edits);
        StateHistory history = AfterEdits(edits);
        QCOMPARE(history.stateImagesPath().size(), edits + 1);
        QCOMPARE(history.currenState(), edits);
        for (int i = edits - 1; i >= 0; --i)
            QCOMPARE(UndoAndPreview(history), Edit(i));
        QVERIFY(!history.Undo());
        QCOMPARE(history.currenState(), 0);
        QCOMPARE(history.stateImagesPath().size(), edits + 1);
    }

    void sixtyEditsKeepTheNewestFiftyOne() {
        StateHistory history = AfterEdits(60);
        QCOMPARE(history.stateImagesPath().size(), 51);
        QCOMPARE(history.currenState(), 50);
        QCOMPARE(history.stateImagesPath().first(), Edit(10));
        QCOMPARE(history.stateImagesPath().last(), Edit(60));
        std::optional<QString> entry;
        for (int i = 0; i < 50; ++i)
            entry = UndoAndPreview(history);
        QCOMPARE(entry, Edit(10));
        QVERIFY(!history.Undo());
    }

    void fullHistoryPushesOutTheOldestAfterUndoRedo() {
        StateHistory history = AfterEdits(50);
        QCOMPARE(history.stateImagesPath().size(), 51);
        UndoAndPreview(history);
        QCOMPARE(RedoAndPreview(history), Edit(50));
        history.RecordState(Edit(51));
        QCOMPARE(history.stateImagesPath().size(), 51);
        QCOMPARE(history.stateImagesPath().first(), Edit(1));
        QCOMPARE(history.currenState(), 50);
    }

    void aNewEditDropsTheRedoEntries() {
        StateHistory history = AfterEdits(4);
        UndoAndPreview(history);
        UndoAndPreview(history);
        history.RecordState(Edit(99));
        QCOMPARE(history.stateImagesPath(), (QStringList{Edit(0), Edit(1), Edit(2), Edit(99)}));
        QCOMPARE(history.currenState(), 3);
        QVERIFY(!history.Redo());
    }

    void undoThenRedoAddsNothing() {
        StateHistory history = AfterEdits(3);
        const QStringList before = history.stateImagesPath();
        QCOMPARE(UndoAndPreview(history), Edit(2));
        QCOMPARE(RedoAndPreview(history), Edit(3));
        QCOMPARE(history.stateImagesPath(), before);
        QCOMPARE(history.currenState(), 3);
        QVERIFY(!history.Redo());
    }

    void identicalStatesAreRecordedAgain() {
        StateHistory history = AfterEdits(1);
        history.RecordState(Edit(1));
        QCOMPARE(history.stateImagesPath(), (QStringList{Edit(0), Edit(1), Edit(1)}));
    }

    void redoNeedsTwoEntries() {
        StateHistory history;
        history.RestartHistory(Edit(0));
        QVERIFY(!history.Redo());
        QCOMPARE(history.currenState(), 0);
    }
};

QTEST_APPLESS_MAIN(tst_StateHistory)
#include "tst_StateHistory.moc"
