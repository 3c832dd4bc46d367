#include "EditorFixture.h"

#include <tuple>

namespace {

float DesignValue(const IconDesign& design, const QString& key) {
    const QHash<QString, float IconDesign::*> members{
        {"IconVerticalOffset", &IconDesign::iconVerticalOffset},
        {"IconHorizontalOffset", &IconDesign::iconHorizontalOffset},
        {"IconScale", &IconDesign::iconScale},
        {"TextVerticalOffset", &IconDesign::textVerticalOffset},
        {"TextHorizontalOffset", &IconDesign::textHorizontalOffset},
        {"FontSize", &IconDesign::fontSize},
        {"CanvasWidth", &IconDesign::canvasWidth},
        {"CanvasHeight", &IconDesign::canvasHeight}};
    return design.*members.value(key);
}

} // namespace

// Typed numbers: each field falls back and clamps, then hands its value to its stepper (or a
// canvas field to its custom size); every commit renders and marks the title.
class tst_NumberFields : public QObject {
    Q_OBJECT

private slots:
    void typedNumbers_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        const struct {
            const char *row, *key, *typed, *shown;
        } rows[] = {
            {"decimal", "IconScale", "12.5", "1"},
            {"empty text offset", "TextVerticalOffset", "", "40"},
            {"plus sign", "IconHorizontalOffset", "+25", "+25"},
            {"trailing blank", "TextHorizontalOffset", "25 ", "0"},
            {"above the maximum", "FontSize", "20000", "10000"},
            {"below the minimum", "IconVerticalOffset", "-20000", "-10000"},
            {"zero font size", "FontSize", "0", "1"},
            {"scale above 999", "IconScale", "1000", "999"},
            {"beyond 64 bits", "TextVerticalOffset", "9223372036854775808", "40"},
            {"exponent", "FontSize", "1e3", "1"},
            {"zero width", "CanvasWidth", "0", "1"},
            {"letters in the width", "CanvasWidth", "wide", "1024"},
            {"unchanged width", "CanvasWidth", "1024", "1024"},
            {"too high", "CanvasHeight", "20000", "10000"},
            {"negative height", "CanvasHeight", "-5", "1"},
            {"plus sign in the height", "CanvasHeight", "+300", "+300"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.row) << QString(row.key) << QString(row.typed) << QString(row.shown);
    }
    void typedNumbers() {
        QFETCH(QString, key);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        EditorFixture editor;
        auto* field = editor.Find<QLineEdit>("textField" + key);
        UserInput::Type(field, typed);
        QCOMPARE(field->text(), shown);
        if (auto* stepper = editor.Find<Stepper>("stepper" + key)) {
            QCOMPARE(stepper->value(), shown.toDouble());
        } else {
            // A canvas edit chooses the custom size, even when the value did not change.
            QCOMPARE(editor.Find<QLineEdit>("textFieldCustom" + key.mid(6))->text(), shown);
            QVERIFY(editor.controls().radioCustomSize->isChecked());
            QVERIFY(!editor.controls().radioMacOSXIconSet->isChecked());
        }
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        // The commit renders the corrected value at once and records it.
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(DesignValue(editor.log->Design(1), key), shown.toFloat());
        QCOMPARE(editor.HistorySize(), 2);
    }

    // Only Return or leaving an edited field commits it: moving the focus alone must not
    // switch the output to the custom size or mark the design.
    void focusAloneCommitsNothing() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        for (QLineEdit* field : {c.textFieldCanvasWidth, c.textFieldCanvasHeight,
                                 c.textFieldFontSize, c.textFieldQuality, c.textFieldName})
            field->setFocus();
        c.textFieldText->setFocus();
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
        QCOMPARE(editor.HistorySize(), 1);

        UserInput::Type(c.textFieldCanvasWidth, "500", /*confirm=*/false);
        c.textFieldText->setFocus();
        QCOMPARE(c.textFieldCustomWidth->text(), QStringLiteral("500"));
        QVERIFY(c.radioCustomSize->isChecked());
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.WaitForRenders(2));
    }

    // Output settings record a state each, without a render; the quality is for the JPEG
    // formats only. Which numbers they take is the output settings' concern.
    void outputFields() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        QTest::keyClick(c.comboIconFormat, Qt::Key_Down);
        QVERIFY(c.textFieldQuality->isEnabled() && c.stepperQuality->isEnabled());
        const std::tuple<QLineEdit*, const char*, const char*> typedAndShown[] = {
            {c.textFieldQuality, "150", "100"},
            {c.textFieldQuality, "55", "55"},
            {c.textFieldCustomHeight, "0", "1"},
            {c.textFieldCustomWidth, "300", "300"}};
        for (const auto& [field, typed, shown] : typedAndShown) {
            UserInput::Type(field, typed);
            QCOMPARE(field->text(), QString::fromLatin1(shown));
        }
        QCOMPARE(c.stepperQuality->value(), 55.0);
        UserInput::ClickStepper(c.stepperQuality, +1);
        QCOMPARE(c.textFieldQuality->text(), QStringLiteral("56"));
        QCOMPARE(editor.HistorySize(), 1 + 1 + 4 + 1);

        // A size box records a state too; the size sets stay exclusive, a click on the chosen
        // set keeps it chosen, and undo steps back through output changes.
        QCheckBox* check = editor.Find<QCheckBox>("check64mac");
        UserInput::Click(check);
        QVERIFY(!check->isChecked());
        QCOMPARE(editor.HistorySize(), 1 + 1 + 4 + 1 + 1);
        UserInput::Click(c.radioiOSIconSet);
        UserInput::Click(c.radioiOSIconSet);
        QVERIFY(c.radioiOSIconSet->isChecked() && !c.radioMacOSXIconSet->isChecked());
        UserInput::Click(c.radioCustomSize);
        QVERIFY(!c.radioiOSIconSet->isChecked());
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(c.textFieldCanvasWidth->text(), QStringLiteral("1024"));
        const int history = editor.HistorySize();
        editor.menu().undo->trigger();
        QVERIFY(editor.WaitUntilIdle());
        QVERIFY(c.radioiOSIconSet->isChecked() && !c.radioCustomSize->isChecked());
        QCOMPARE(editor.HistorySize(), history);
    }

    // A line break in a text field would give a profile that can never be read back.
    void pastedLineBreaksBecomeSpaces() {
        EditorFixture editor;
        QApplication::clipboard()->setText(QStringLiteral("1\n2\v3\f4\r5\u00856\u20287\u20298\t9"));
        for (QLineEdit* field :
             {editor.controls().textFieldText, editor.controls().textFieldName}) {
            field->setFocus();
            field->selectAll();
            field->paste();
            QTest::keyClick(field, Qt::Key_Return);
            QCOMPARE(field->text(), QStringLiteral("1 2 3 4 5 6 7 8\t9"));
        }
        QCOMPARE(editor.controller()->MakeProfileText().count(u'\n'),
                 MakeProfileText(DesignSettings{}).count(u'\n'));
    }
};

QTEST_MAIN(tst_NumberFields)
#include "tst_NumberFields.moc"
