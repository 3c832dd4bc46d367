#include "profiles/StateHistory.h"
#include "profiles/WindowTitle.h"

#include <QtTest>

using namespace Qt::StringLiterals;

// The history driven the way the editor drives it: every completed preview records the design,
// and a restart (start-up, New, Load), an undo or a redo skips the record of its own preview.
// Then the window's title and its unsaved-changes marker.
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

    void marker_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("marked");
        QTest::newRow("untitled") << WindowTitle::Untitled() << false;
        QTest::newRow("edited") << "Sigilon*" << true;
        QTest::newRow("profile edited") << "Sigilon - logo*" << true;
        QTest::newRow("star inside") << "Sigilon - a*b" << false;
        QTest::newRow("star then blank") << "Sigilon - a* " << false;
        QTest::newRow("only a star") << "*" << true;
        QTest::newRow("empty") << "" << false;
        // A combining mark makes the star part of another character.
        QTest::newRow("star with accent") << QStringLiteral("Sigilon - a*\u0301") << false;
        QTest::newRow("emoji then star") << QStringLiteral("Sigilon - \U0001F600*") << true;
    }
    void marker() {
        QFETCH(QString, title);
        QFETCH(bool, marked);
        QCOMPARE(WindowTitle::HasMarker(title), marked);
        const QString withMarker = WindowTitle::WithMarker(title);
        QVERIFY(WindowTitle::HasMarker(withMarker));
        QCOMPARE(withMarker, marked ? title : title + "*");
        QCOMPARE(WindowTitle::WithMarker(withMarker), withMarker);
    }

    void titles_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("title");
        QTest::newRow("no profile") << QString() << u"Sigilon"_s;
        QTest::newRow("plain") << "/home/me/logo.sgp" << u"Sigilon - logo"_s;
        QTest::newRow("dots in the name") << "/tmp/app.v2.sgp" << u"Sigilon - app.v2"_s;
        QTest::newRow("star in the name") << "/tmp/a*b.sgp" << u"Sigilon - a*b"_s;
        QTest::newRow("exactly four characters") << "/tmp/.sgp" << u"Sigilon - "_s;
        QTest::newRow("shorter than four") << "/tmp/ab" << u"Sigilon - "_s;
    }
    void titles() {
        QFETCH(QString, path);
        QFETCH(QString, title);
        QCOMPARE(path.isNull() ? WindowTitle::Untitled() : WindowTitle::ForProfile(path), title);
    }
};

QTEST_APPLESS_MAIN(tst_StateHistory)
#include "tst_StateHistory.moc"
