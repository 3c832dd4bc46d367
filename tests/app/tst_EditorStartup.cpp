#include "EditorFixture.h"

// The editor as it starts: every control at its default, one preview, one history entry.
class tst_EditorStartup : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheDefaultDesignAndOneHistoryEntry() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        const QString defaults = MakeProfileText(DesignSettings{});
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(vc->MakeProfileText(), defaults);
        QCOMPARE(vc->history().stateImagesPath(), QStringList{defaults});
        // The first preview was not recorded a second time, and the next one will be.
        QVERIFY(vc->history().needToSaveState());
        QCOMPARE(editor.log->Design(0).canvasWidth, 1024.0f);
        QVERIFY(editor.log->Design(0).iconImage.isNull());
        QCOMPARE(editor.controls().imageViewIcon->image().size(), QSize(1024, 1024));
        QVERIFY(editor.controls().progressIndicator->isHidden());
        // At either end of a one-entry history, Undo and Redo do nothing.
        vc->OnUndo();
        vc->OnRedo();
        QCOMPARE(vc->history().currenState(), 0);
        QVERIFY(!vc->updating());
    }

    // What the profile text does not show: the pop-up lists, the quality controls, the steppers
    // and the tooltips.
    void controlsBeyondTheProfile() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        QCOMPARE(c.comboFontType->count(), 20);
        QCOMPARE(c.comboFontType->itemText(0), QStringLiteral("American Typewriter"));
        QCOMPARE(c.comboFontType->itemText(19), QStringLiteral("Verdana"));
        QCOMPARE(c.comboFontType->currentText(), QStringLiteral("Marker Felt"));
        QStringList formats;
        for (int i = 0; i < c.comboIconFormat->count(); ++i)
            formats.append(c.comboIconFormat->itemText(i));
        QCOMPARE(formats, (QStringList{"PNG", "JPG", "JPEG", "JPE", "JP2", "JPX", "TIFF", "TIF",
                                       "GIF", "BMP"}));
        QVERIFY(!c.textFieldQuality->isEnabled()); // PNG takes no quality
        QVERIFY(!c.stepperQuality->isEnabled());
        for (Stepper* stepper : editor.window->findChildren<Stepper*>()) {
            const QString field = stepper->objectName().replace("stepper", "textField");
            QCOMPARE(stepper->value(), editor.Find<QLineEdit>(field)->text().toDouble());
        }
        const QRegularExpression outlet("^(check|radio|slider|colorWell|textField|stepper|combo)");
        const QList<QWidget*> outlets = editor.window->findChildren<QWidget*>(outlet);
        QCOMPARE(outlets.size(), 56 + 31); // the outlets and the size check boxes
        for (const QWidget* widget : outlets)
            QVERIFY2(!widget->toolTip().isEmpty(), qPrintable(widget->objectName()));
    }

    // Applying a profile sets controls from code: no action runs, so no render, no marker and
    // no history entry.
    void settingControlsFromCodeRunsNoAction() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        // Every control reaching its own value is the profile round trip's concern; these are
        // the values a control could lose on the way.
        DesignSettings changed;
        changed.transparentBackground = 1;
        changed.cornerCurvature = 0.123456f; // between two slider positions, kept exactly
        changed.iconFormat = 2;
        changed.gradientEndColor = Rgba{0.1, 0.2, 0.3, 1.0}; // not a multiple of 1/255
        changed.backgroundStroke = -1;
        const QString text = MakeProfileText(changed);
        QVERIFY(vc->ApplyProfileText(text, false));
        DesignSettings expected; // colours come back from a profile at single precision
        QVERIFY(ApplyProfileText(expected, text, false));
        QTest::qWait(50);
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.HistorySize(), 1);
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
        QVERIFY(editor.controls().textFieldQuality->isEnabled()); // follows the format
        QCOMPARE(editor.controls().checkBackgroundStroke->checkState(), Qt::PartiallyChecked);

        QVERIFY(!vc->ApplyProfileText(QStringLiteral("0\n1\n"), true));
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
    }
};

QTEST_MAIN(tst_EditorStartup)
#include "tst_EditorStartup.moc"
