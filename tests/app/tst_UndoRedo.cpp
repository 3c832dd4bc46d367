#include "EditorFixture.h"

namespace {

// The controls after a state is put back: colour components come back at single precision.
QString AsRestored(const QString& state) {
    DesignSettings settings;
    return ApplyProfileText(settings, state, false) ? MakeProfileText(settings) : QString();
}

} // namespace

// Undo and redo walk the history of completed previews and output changes; they never add
// entries and never mark the title.
class tst_UndoRedo : public QObject {
    Q_OBJECT

    static bool Undo(EditorFixture& e) {
        e.menu().undo->trigger();
        return e.WaitUntilIdle();
    }
    static bool Redo(EditorFixture& e) {
        e.menu().redo->trigger();
        return e.WaitUntilIdle();
    }
    // One slider step with its preview done: one countable edit.
    static bool Step(EditorFixture& e, FloatSlider* s) {
        UserInput::Step(s);
        return e.WaitUntilIdle();
    }

private slots:
    // How many states the history keeps, how undo walks them and what a new edit drops is the
    // history's own concern; here, what the window does with them.
    void undoRedoAndANewEdit() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        UserInput::Click(c.checkTextStroke);
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Type(c.textFieldFontSize, "300");
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(Step(editor, c.sliderIconRotation));
        const QString edited = editor.controller()->MakeProfileText();
        editor.window->setWindowTitle(QStringLiteral("Sigilon - logo")); // as after a save

        QVERIFY(Undo(editor));
        QVERIFY(Undo(editor));
        QCOMPARE(c.textFieldFontSize->text(), QStringLiteral("800"));
        QVERIFY(c.checkTextStroke->isChecked());
        QCOMPARE(editor.log->LastDesign().fontSize, 800.0f); // what the next render draws
        QVERIFY(Undo(editor));
        const int renders = editor.Renders();
        QVERIFY(Undo(editor)); // past the oldest state nothing happens
        QCOMPARE(editor.Renders(), renders);
        // Four redos: the last one is past the newest state.
        for (int step = 0; step < 4; ++step)
            QVERIFY(Redo(editor));
        QCOMPARE(editor.controller()->MakeProfileText(), AsRestored(edited));
        QCOMPARE(editor.controller()->history().currenState(), 3);
        QCOMPARE(editor.HistorySize(), 4);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon - logo"));
    }

    // A click beside a slider's handle, a key and the wheel are one undo step each; a drag is
    // one too (see tst_PreviewPipeline).
    void sliderStepsAreOneUndoStepEach() {
        EditorFixture editor;
        FloatSlider* rotation = editor.controls().sliderIconRotation; // 0 at the start
        QSlider* bar = rotation->slider();
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 2, bar->height() / 2));
        QVERIFY(editor.WaitUntilIdle());
        bar->setFocus();
        QTest::keyClick(bar, Qt::Key_Left);
        QVERIFY(editor.WaitUntilIdle());
        QWheelEvent wheel(QPointF(5, 5), bar->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, 120),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(bar, &wheel);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 4);
        for (int step = 0; step < 3; ++step)
            QVERIFY(Undo(editor));
        QCOMPARE(rotation->floatValue(), 0.0f);
    }
};

QTEST_MAIN(tst_UndoRedo)
#include "tst_UndoRedo.moc"
