#include "EditorFixture.h"

#include "app/ColorWell.h"
#include "app/CustomImageView.h"
#include "app/CustomTextField.h"
#include "app/FloatSlider.h"
#include "app/ProgressIndicator.h"
#include "app/Stepper.h"
#include "design/DesignSettings.h"
#include "profiles/ProfileText.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

// The editor as it starts: every control at its default, one preview, one history entry.
class tst_EditorStartup : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheDefaultDesignAndOneHistoryEntry() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->started.load(), 1);
        QCOMPARE(vc->history().stateImagesPath(), QStringList{MakeProfileText(DesignSettings{})});
        QCOMPARE(vc->history().currenState(), 0);
        // The first render's record was skipped, and the next one will count.
        QVERIFY(vc->history().needToSaveState());
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(DesignSettings{}));
        QVERIFY(!vc->HasUnsavedChanges());

        // The render saw the default design: 1024 x 1024, no icon image.
        const IconDesign design = editor.log->Design(0);
        QCOMPARE(design.canvasWidth, 1024.0f);
        QCOMPARE(design.fontIndex, 12);
        QVERIFY(design.iconImage.isNull());
        QCOMPARE(vc->currentIcon().size(), QSize(1024, 1024));
        QCOMPARE(editor.controls().imageViewIcon->image().size(), QSize(1024, 1024));
        QVERIFY(editor.controls().progressIndicator->isHidden());
        QVERIFY(!editor.controls().progressIndicator->isAnimating());

        // At either end of a one-entry history, Undo and Redo do nothing.
        vc->OnUndo();
        vc->OnRedo();
        QCOMPARE(vc->history().currenState(), 0);
        QVERIFY(!vc->updating());
    }

    void controlsShowTheDefaults() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        QCOMPARE(c.comboFontType->count(), 20);
        QCOMPARE(c.comboFontType->itemText(0), QStringLiteral("American Typewriter"));
        QCOMPARE(c.comboFontType->itemText(19), QStringLiteral("Verdana"));
        QCOMPARE(c.comboFontType->currentText(), QStringLiteral("Marker Felt"));
        const QStringList formats{"PNG", "JPG",  "JPEG", "JPE", "JP2",
                                  "JPX", "TIFF", "TIF",  "GIF", "BMP"};
        QCOMPARE(c.comboIconFormat->count(), formats.size());
        for (int i = 0; i < formats.size(); ++i)
            QCOMPARE(c.comboIconFormat->itemText(i), formats[i]);
        QCOMPARE(c.comboIconFormat->currentIndex(), 0);

        QCOMPARE(c.textFieldQuality->text(), QStringLiteral("80"));
        QCOMPARE(c.stepperQuality->value(), 80.0);
        QVERIFY(!c.textFieldQuality->isEnabled());
        QVERIFY(!c.stepperQuality->isEnabled());
        QVERIFY(c.radioMacOSXIconSet->isChecked());
        QVERIFY(!c.radioiOSIconSet->isChecked());
        QVERIFY(!c.radiowatchOSIconSet->isChecked());
        QVERIFY(!c.radioCustomSize->isChecked());
        for (QCheckBox* check : c.iosSizeChecks)
            QVERIFY(check->isChecked());
        QCOMPARE(c.textFieldName->text(), QStringLiteral("Icon[Size]"));
        QCOMPARE(c.textFieldCanvasWidth->text(), QStringLiteral("1024"));
        QCOMPARE(c.textFieldCustomHeight->text(), QStringLiteral("1024"));
        QCOMPARE(c.textFieldTextVerticalOffset->text(), QStringLiteral("40"));
        QCOMPARE(c.stepperTextVerticalOffset->value(), 40.0);
        QCOMPARE(c.textFieldFontSize->text(), QStringLiteral("800"));
        QCOMPARE(c.sliderCornerCurvature->floatValue(), 0.2f);
        QCOMPARE(c.sliderBackgroundShadowAngle->floatValue(), 270.0f);
        QCOMPARE(c.colorWellGradientStartColor->color(), (Rgba{0.0, 128.0 / 255.0, 1.0, 1.0}));
        QVERIFY(c.textFieldText->text().isEmpty());
        QVERIFY(c.textFieldIconImage->text().isEmpty());
    }

    // Every control of the window is found by its outlet's name.
    void outletsAreFoundByName_data() {
        QTest::addColumn<QString>("name");
        for (const char* name : {"comboFontType",
                                 "comboIconFormat",
                                 "textFieldIconVerticalOffset",
                                 "stepperIconVerticalOffset",
                                 "textFieldIconHorizontalOffset",
                                 "stepperIconHorizontalOffset",
                                 "textFieldIconScale",
                                 "stepperIconScale",
                                 "textFieldTextVerticalOffset",
                                 "stepperTextVerticalOffset",
                                 "textFieldTextHorizontalOffset",
                                 "stepperTextHorizontalOffset",
                                 "textFieldFontSize",
                                 "stepperFontSize",
                                 "textFieldQuality",
                                 "stepperQuality",
                                 "textFieldText",
                                 "textFieldCanvasWidth",
                                 "textFieldCanvasHeight",
                                 "textFieldCustomWidth",
                                 "textFieldCustomHeight",
                                 "textFieldName",
                                 "checkTransparentBackground",
                                 "checkBackgroundStroke",
                                 "checkBackgroundShadow",
                                 "checkUseImageColors",
                                 "checkIconShadow",
                                 "checkTextStroke",
                                 "checkTextShadow",
                                 "radioiOSIconSet",
                                 "radiowatchOSIconSet",
                                 "radioMacOSXIconSet",
                                 "radioCustomSize",
                                 "colorWellGradientStartColor",
                                 "colorWellGradientEndColor",
                                 "colorWellBackgroundStrokeColor",
                                 "colorWellBackgroundShadowColor",
                                 "colorWellIconColor",
                                 "colorWellIconShadowColor",
                                 "colorWellTextColor",
                                 "colorWellTextStrokeColor",
                                 "colorWellTextShadowColor",
                                 "sliderCornerCurvature",
                                 "sliderBackgroundStrokeSize",
                                 "sliderBackgroundShadowOffset",
                                 "sliderBackgroundShadowAngle",
                                 "sliderBackgroundShadowBlur",
                                 "sliderIconRotation",
                                 "sliderIconShadowOffset",
                                 "sliderIconShadowAngle",
                                 "sliderIconShadowBlur",
                                 "sliderTextStrokeSize",
                                 "sliderTextShadowOffset",
                                 "sliderTextShadowAngle",
                                 "sliderTextShadowBlur",
                                 "imageViewIcon",
                                 "textFieldIconImage",
                                 "progressIndicator",
                                 "check20ios",
                                 "check1024ios",
                                 "check32watchos",
                                 "check196watchos",
                                 "check16mac",
                                 "check1024mac"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }
    void outletsAreFoundByName() {
        QFETCH(QString, name);
        EditorFixture editor;
        const QList<QWidget*> found = editor.window->findChildren<QWidget*>(name);
        QCOMPARE(found.size(), 1);
        QVERIFY(!found.first()->toolTip().isEmpty());
    }

    // Applying a profile sets controls from code: no action runs, so there is no render, no
    // marker and no history entry, and the controls show the profile afterwards.
    void settingControlsFromCodeRunsNoAction() {
        EditorFixture editor;
        ViewController* vc = editor.controller();
        QVERIFY(editor.WaitUntilIdle());
        DesignSettings changed;
        changed.transparentBackground = 1;
        changed.cornerCurvature = 0.75f;
        changed.text = QStringLiteral("Hi");
        changed.fontIndex = 3;
        changed.iconScale = 250.0f;
        changed.iconScaleText = QStringLiteral("250");
        changed.canvasWidthText = QStringLiteral("512");
        changed.macIconSet = 0;
        changed.iosIconSet = 1;
        changed.iconFormat = 2;
        changed.iosSizes[3] = 0;
        changed.gradientEndColor = Rgba{0.25, 0.5, 0.75, 1.0};
        changed.backgroundStroke = -1;
        const QString text = MakeProfileText(changed);
        QVERIFY(vc->ApplyProfileText(text, false));
        // Colour components come back from a profile at single precision.
        DesignSettings expected;
        QVERIFY(ApplyProfileText(expected, text, false));
        QTest::qWait(50);
        QCOMPARE(editor.log->started.load(), 1);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.HistorySize(), 1);
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
        // The quality controls follow the format that the profile chose.
        QVERIFY(editor.controls().textFieldQuality->isEnabled());
        QCOMPARE(editor.controls().checkBackgroundStroke->checkState(), Qt::PartiallyChecked);

        QVERIFY(!vc->ApplyProfileText(QStringLiteral("0\n1\n"), true));
        QCOMPARE(vc->MakeProfileText(), MakeProfileText(expected));
    }
};

QTEST_MAIN(tst_EditorStartup)
#include "tst_EditorStartup.moc"
