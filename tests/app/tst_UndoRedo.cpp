#include "EditorFixture.h"

#include "app/FloatSlider.h"
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSlider>
#include <QtTest>

namespace {

// The controls after a state is put back: colour components come back at single precision.
QString AsRestored(const QString& state) {
    DesignSettings settings;
    return ApplyProfileText(settings, state, false) ? MakeProfileText(settings) : QString();
}

bool Undo(EditorFixture& editor) {
    editor.controller()->menuActions().undo->trigger();
    return editor.WaitUntilIdle();
}

bool Redo(EditorFixture& editor) {
    editor.controller()->menuActions().redo->trigger();
    return editor.WaitUntilIdle();
}

} // namespace

// Undo and redo walk the history of completed previews and output changes; they never add
// entries and never mark the title.
class tst_UndoRedo : public QObject {
    Q_OBJECT

    // One design edit with its preview completed.
    static bool Edit(EditorFixture& editor) {
        editor.controls().sliderBackgroundShadowOffset->slider()->triggerAction(
            QAbstractSlider::SliderSingleStepAdd);
        return editor.WaitUntilIdle();
    }

private slots:
    void undoWalksBackToTheDefaultDesign_data() {
        QTest::addColumn<int>("edits");
        QTest::newRow("one") << 1;
        QTest::newRow("seven") << 7;
        QTest::newRow("fifty") << 50;
    }
    void undoWalksBackToTheDefaultDesign() {
        QFETCH(int, edits);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const QString defaults = editor.controller()->MakeProfileText();
        for (int n = 1; n <= edits; ++n)
            QVERIFY(Edit(editor));
        QCOMPARE(editor.HistorySize(), edits + 1);
        QCOMPARE(editor.controller()->history().currenState(), edits);

        for (int step = 0; step < edits; ++step)
            QVERIFY(Undo(editor));
        QCOMPARE(editor.controller()->MakeProfileText(), AsRestored(defaults));
        QCOMPARE(editor.controller()->history().currenState(), 0);
        const int rendersBefore = editor.log->started;
        QVERIFY(Undo(editor));
        QCOMPARE(editor.log->started.load(), rendersBefore);
        QCOMPARE(editor.HistorySize(), edits + 1);
    }

    // Typing renders as the text grows; the history ends with the whole text.
    void typedTextEndsInOneState() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        QTest::keyClicks(editor.controls().textFieldText, QStringLiteral("Logo"));
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(20);
        QVERIFY(editor.WaitUntilIdle());
        const QStringList& states = editor.controller()->history().stateImagesPath();
        QVERIFY(states.size() >= 2 && states.size() <= 5);
        QCOMPARE(states.last(), editor.controller()->MakeProfileText());
        QCOMPARE(editor.log->Design(editor.log->started - 1).text, QStringLiteral("Logo"));
    }

    // Slider moves are single, countable edits: one completed preview each.
    void sixtyEditsKeepFiftyOneStates() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        FloatSlider* blur = editor.controls().sliderTextShadowBlur;
        QCOMPARE(blur->floatValue(), 10.0f);
        for (int n = 1; n <= 60; ++n) {
            blur->slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QVERIFY(editor.WaitUntilIdle());
        }
        QCOMPARE(blur->floatValue(), 70.0f);
        QCOMPARE(editor.HistorySize(), 51);
        QCOMPARE(editor.controller()->history().currenState(), 50);
        for (int step = 0; step < 50; ++step)
            QVERIFY(Undo(editor));
        // The oldest state left is the one after the tenth edit.
        QCOMPARE(blur->floatValue(), 20.0f);
        QVERIFY(Undo(editor));
        QCOMPARE(blur->floatValue(), 20.0f);
        QCOMPARE(editor.HistorySize(), 51);
    }

    void undoUndoEditDropsTheRedoStates() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        for (int n = 0; n < 4; ++n) {
            c.sliderIconRotation->slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            QVERIFY(editor.WaitUntilIdle());
        }
        QCOMPARE(editor.HistorySize(), 5);
        QVERIFY(Undo(editor));
        QVERIFY(Undo(editor));
        QCOMPARE(c.sliderIconRotation->floatValue(), 2.0f);
        UserInput::Click(c.checkIconShadow);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 4);
        QCOMPARE(editor.controller()->history().currenState(), 3);
        QVERIFY(Redo(editor));
        QVERIFY(c.checkIconShadow->isChecked());
        QCOMPARE(c.sliderIconRotation->floatValue(), 2.0f);
    }

    void undoThenRedoRestoresAndAddsNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        UserInput::Click(c.checkTextStroke);
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Type(c.textFieldFontSize, "300");
        QVERIFY(editor.WaitUntilIdle());
        const QString edited = editor.controller()->MakeProfileText();
        QCOMPARE(editor.HistorySize(), 3);

        QVERIFY(Undo(editor));
        QCOMPARE(c.textFieldFontSize->text(), QStringLiteral("800"));
        QVERIFY(c.checkTextStroke->isChecked());
        // The restored design is what the next render draws.
        QCOMPARE(editor.log->Design(editor.log->started - 1).fontSize, 800.0f);
        QVERIFY(Redo(editor));
        QCOMPARE(editor.controller()->MakeProfileText(), AsRestored(edited));
        QCOMPARE(editor.HistorySize(), 3);
        QVERIFY(Redo(editor));
        QCOMPARE(editor.controller()->history().currenState(), 2);
    }

    void steppingNeverMarksTheTitle() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Click(editor.controls().checkBackgroundShadow);
        QVERIFY(editor.WaitUntilIdle());
        // As after a save: the title without the marker.
        editor.window->setWindowTitle(QStringLiteral("Sigilon - logo"));
        QVERIFY(Undo(editor));
        QVERIFY(Redo(editor));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
    }

    void outputSettingsRecordWithoutARender() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        QCheckBox* check = editor.Find<QCheckBox>("check64mac");
        UserInput::Click(check);
        QVERIFY(!check->isChecked());
        QCOMPARE(editor.HistorySize(), 2);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QCOMPARE(editor.log->started.load(), 1);

        // The size sets stay exclusive, and a click on the chosen set keeps it chosen.
        UserInput::Click(c.radioiOSIconSet);
        UserInput::Click(c.radioiOSIconSet);
        QVERIFY(c.radioiOSIconSet->isChecked());
        QVERIFY(!c.radioMacOSXIconSet->isChecked());
        UserInput::Click(c.radioCustomSize);
        QVERIFY(c.radioCustomSize->isChecked());
        QVERIFY(!c.radioiOSIconSet->isChecked());
        UserInput::Type(c.textFieldName, "App[Size]");
        QCOMPARE(editor.HistorySize(), 6);
        QCOMPARE(editor.log->started.load(), 1);

        // Undo steps back through output changes too; their state is restored by a render.
        QVERIFY(Undo(editor));
        QCOMPARE(c.textFieldName->text(), QStringLiteral("Icon[Size]"));
        QVERIFY(Undo(editor));
        QVERIFY(c.radioiOSIconSet->isChecked());
        QVERIFY(!c.radioCustomSize->isChecked());
        QCOMPARE(editor.HistorySize(), 6);
    }
};

QTEST_MAIN(tst_UndoRedo)
#include "tst_UndoRedo.moc"
