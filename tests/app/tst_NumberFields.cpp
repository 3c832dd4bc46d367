#include "EditorFixture.h"

#include "app/Stepper.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>

// Typed numbers: each field falls back, clamps and hands its value to its stepper; every
// commit renders and marks the title.
class tst_NumberFields : public QObject {
    Q_OBJECT

private slots:
    void typedNumbers_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("stepper");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<double>("stepperValue");

        const QString scale = "textFieldIconScale", scaleStepper = "stepperIconScale";
        const QString font = "textFieldFontSize", fontStepper = "stepperFontSize";
        const QString textY = "textFieldTextVerticalOffset",
                      textYStepper = "stepperTextVerticalOffset";
        const QString iconX = "textFieldIconHorizontalOffset",
                      iconXStepper = "stepperIconHorizontalOffset";
        const QString iconY = "textFieldIconVerticalOffset",
                      iconYStepper = "stepperIconVerticalOffset";
        const QString textX = "textFieldTextHorizontalOffset",
                      textXStepper = "stepperTextHorizontalOffset";

        QTest::newRow("decimal scale falls back to 1") << scale << scaleStepper << "12.5"
                                                       << "1" << 1.0;
        QTest::newRow("empty text offset falls back to 40") << textY << textYStepper << ""
                                                            << "40" << 40.0;
        QTest::newRow("empty icon offset falls back to 0") << iconY << iconYStepper << ""
                                                           << "0" << 0.0;
        QTest::newRow("plus sign kept as typed") << iconX << iconXStepper << "+25"
                                                 << "+25" << 25.0;
        QTest::newRow("trailing blank falls back") << textX << textXStepper << "25 "
                                                   << "0" << 0.0;
        QTest::newRow("font size above the maximum") << font << fontStepper << "20000"
                                                     << "10000" << 10000.0;
        QTest::newRow("offset below the minimum") << iconY << iconYStepper << "-20000"
                                                  << "-10000" << -10000.0;
        QTest::newRow("zero font size becomes the minimum") << font << fontStepper << "0"
                                                            << "1" << 1.0;
        QTest::newRow("letters in the scale") << scale << scaleStepper << "big"
                                              << "1" << 1.0;
        QTest::newRow("letters in the text offset") << textY << textYStepper << "up"
                                                    << "40" << 40.0;
        QTest::newRow("in range") << scale << scaleStepper << "250"
                                  << "250" << 250.0;
        QTest::newRow("negative in range") << textX << textXStepper << "-75"
                                           << "-75" << -75.0;
        QTest::newRow("scale above 999") << scale << scaleStepper << "1000"
                                         << "999" << 999.0;
        QTest::newRow("15 digits are a number, then the maximum")
            << font << fontStepper << "123456789012345"
            << "10000" << 10000.0;
        QTest::newRow("beyond 64 bits falls back") << textY << textYStepper << "9223372036854775808"
                                                   << "40" << 40.0;
        QTest::newRow("negative beyond 64 bits falls back")
            << iconX << iconXStepper << "-9223372036854775809"
            << "0" << 0.0;
        QTest::newRow("exponent is not an integer") << font << fontStepper << "1e3"
                                                    << "1" << 1.0;
    }
    void typedNumbers() {
        QFETCH(QString, field);
        QFETCH(QString, stepper);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(double, stepperValue);

        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        auto* textField = editor.Find<QLineEdit>(field);
        QVERIFY(textField);
        UserInput::Type(textField, typed);
        QCOMPARE(textField->text(), shown);
        QCOMPARE(editor.Find<Stepper>(stepper)->value(), stepperValue);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        // The commit renders at once with the corrected value.
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.HistorySize(), 2);
    }

    void aCommittedFieldReachesTheRenderer() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        UserInput::Type(editor.controls().textFieldIconScale, "12.5");
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->Design(1).iconScale, 1.0f);
        UserInput::Type(editor.controls().textFieldTextVerticalOffset, "-300");
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->Design(2).textVerticalOffset, -300.0f);
    }

    // Only Return or leaving an edited field commits it: moving the focus alone must not
    // switch the output to the custom size or mark the design.
    void focusAloneCommitsNothing() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        for (QLineEdit* field :
             {c.textFieldCanvasWidth, c.textFieldCanvasHeight, c.textFieldFontSize,
              c.textFieldQuality, c.textFieldName, c.textFieldIconScale})
            field->setFocus();
        c.textFieldText->setFocus();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QVERIFY(c.radioMacOSXIconSet->isChecked());
        QCOMPARE(editor.HistorySize(), 1);
        QCOMPARE(editor.log->started.load(), 1);

        c.textFieldCanvasWidth->setFocus();
        c.textFieldCanvasWidth->selectAll();
        QTest::keyClicks(c.textFieldCanvasWidth, "500");
        c.textFieldText->setFocus();
        QCOMPARE(c.textFieldCustomWidth->text(), QStringLiteral("500"));
        QVERIFY(c.radioCustomSize->isChecked());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.WaitForRenders(2));
    }

    void canvasFields_data() {
        QTest::addColumn<bool>("width");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::newRow("zero width") << true << "0"
                                    << "1";
        QTest::newRow("letters in the width") << true << "wide"
                                              << "1024";
        QTest::newRow("too high") << false << "20000"
                                  << "10000";
        QTest::newRow("negative height") << false << "-5"
                                         << "1";
        QTest::newRow("in range, unchanged") << true << "1024"
                                             << "1024";
        QTest::newRow("plus sign") << false << "+300"
                                   << "+300";
    }
    void canvasFields() {
        QFETCH(bool, width);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        UserInput::Click(c.radiowatchOSIconSet);
        QVERIFY(c.radiowatchOSIconSet->isChecked());

        QLineEdit* canvas = width ? c.textFieldCanvasWidth : c.textFieldCanvasHeight;
        QLineEdit* custom = width ? c.textFieldCustomWidth : c.textFieldCustomHeight;
        QLineEdit* other = width ? c.textFieldCustomHeight : c.textFieldCustomWidth;
        UserInput::Type(canvas, typed);
        QCOMPARE(canvas->text(), shown);
        QCOMPARE(custom->text(), shown);
        QCOMPARE(other->text(), QStringLiteral("1024"));
        // The custom size is chosen, even when the value did not change.
        QVERIFY(c.radioCustomSize->isChecked());
        QVERIFY(!c.radiowatchOSIconSet->isChecked());
        QVERIFY(!c.radioiOSIconSet->isChecked());
        QVERIFY(!c.radioMacOSXIconSet->isChecked());
        QVERIFY(editor.WaitUntilIdle());
        const IconDesign design = editor.log->Design(editor.log->started - 1);
        QCOMPARE(width ? design.canvasWidth : design.canvasHeight,
                 float(QStringView(shown).toInt()));
    }

    void customSizeFields() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        UserInput::Type(c.textFieldCustomWidth, "12.5");
        QCOMPARE(c.textFieldCustomWidth->text(), QStringLiteral("1024"));
        UserInput::Type(c.textFieldCustomHeight, "0");
        QCOMPARE(c.textFieldCustomHeight->text(), QStringLiteral("1"));
        UserInput::Type(c.textFieldCustomWidth, "300");
        QCOMPARE(c.textFieldCustomWidth->text(), QStringLiteral("300"));
        // Output settings record without rendering; the canvas is unaffected.
        QCOMPARE(editor.log->started.load(), 1);
        QCOMPARE(editor.HistorySize(), 4);
        QCOMPARE(c.textFieldCanvasWidth->text(), QStringLiteral("1024"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
    }

    void quality() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        // Quality controls are only usable for the JPEG and JPEG 2000 formats.
        for (int index = 1; index < c.comboIconFormat->count(); ++index) {
            QTest::keyClick(c.comboIconFormat, Qt::Key_Down); // the next format
            QCOMPARE(c.comboIconFormat->currentIndex(), index);
            QCOMPARE(c.textFieldQuality->isEnabled(), index >= 1 && index <= 5);
            QCOMPARE(c.stepperQuality->isEnabled(), index >= 1 && index <= 5);
        }
        QCOMPARE(editor.HistorySize(), 10);
        for (int index = c.comboIconFormat->count() - 1; index > 1; --index)
            QTest::keyClick(c.comboIconFormat, Qt::Key_Up);
        QCOMPARE(c.comboIconFormat->currentIndex(), 1);
        QVERIFY(c.textFieldQuality->isEnabled());
        const struct {
            const char* typed;
            const char* shown;
            double value;
        } cases[] = {{"150", "100", 100}, {"0", "1", 1}, {"-3", "1", 1},  {"abc", "1", 1},
                     {"12.5", "1", 1},    {"", "1", 1},  {"55", "55", 55}};
        for (const auto& quality : cases) {
            UserInput::Type(c.textFieldQuality, quality.typed);
            QCOMPARE(c.textFieldQuality->text(), QString::fromLatin1(quality.shown));
            QCOMPARE(c.stepperQuality->value(), quality.value);
        }
        UserInput::ClickStepper(c.stepperQuality, +1);
        QCOMPARE(c.textFieldQuality->text(), QStringLiteral("56"));
        QCOMPARE(editor.HistorySize(), 18 + 7 + 1);
        QCOMPARE(editor.log->started.load(), 1);
    }

    void steppersWriteTheirValue() {
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        const EditorControls& c = editor.controls();
        UserInput::ClickStepper(c.stepperFontSize, +1);
        QCOMPARE(c.textFieldFontSize->text(), QStringLiteral("810"));
        UserInput::ClickStepper(c.stepperTextVerticalOffset, -1);
        QCOMPARE(c.textFieldTextVerticalOffset->text(), QStringLiteral("39"));
        UserInput::ClickStepper(c.stepperIconScale, +1);
        QCOMPARE(c.textFieldIconScale->text(), QStringLiteral("101"));
        // A field typed as "+25" is written back plainly once its stepper moves it.
        UserInput::Type(c.textFieldIconHorizontalOffset, "+25");
        UserInput::ClickStepper(c.stepperIconHorizontalOffset, +1);
        QCOMPARE(c.textFieldIconHorizontalOffset->text(), QStringLiteral("26"));
        // At its limit a stepper stays put.
        UserInput::Type(c.textFieldIconScale, "999");
        UserInput::ClickStepper(c.stepperIconScale, +1);
        QCOMPARE(c.textFieldIconScale->text(), QStringLiteral("999"));
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
    }

    // A line break in a text field would give a profile that can never be read back.
    void lineBreaksBecomeSpaces_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        QTest::newRow("line feed in the text") << "textFieldText"
                                               << "Two\nlines"
                                               << "Two lines";
        QTest::newRow("CR LF in the name") << "textFieldName"
                                           << "Icon\r\n[Size]"
                                           << "Icon  [Size]";
        QTest::newRow("line separator")
            << "textFieldText" << QStringLiteral("a\u2028b\u0085c") << "a b c";
    }
    void lineBreaksBecomeSpaces() {
        QFETCH(QString, field);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        EditorFixture editor;
        QVERIFY(editor.WaitUntilIdle());
        auto* textField = editor.Find<QLineEdit>(field);
        textField->setFocus();
        textField->selectAll();
        QApplication::clipboard()->setText(pasted);
        textField->paste();
        QTest::keyClick(textField, Qt::Key_Return);
        QCOMPARE(textField->text(), kept);
        QVERIFY(editor.WaitUntilIdle());
        // The recorded state reads back: undo and redo can step through it.
        QCOMPARE(editor.HistorySize(), 2);
        editor.controller()->OnUndo();
        QVERIFY(editor.WaitUntilIdle());
        editor.controller()->OnRedo();
        QCOMPARE(textField->text(), kept);
    }
};

QTEST_MAIN(tst_NumberFields)
#include "tst_NumberFields.moc"
