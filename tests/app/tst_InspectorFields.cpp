#include "EditorFixture.h"

#include "app/dialogs/QtPrompter.h"
#include "app/inspector/ColorWell.h"
#include "app/inspector/HexColorField.h"
#include "app/inspector/ScrubLabel.h"

#include <cmath>
#include <tuple>

namespace {

// A number typed into a field (named after its key), as the field shows it and the design takes it.
const struct {
    const char *row, *key, *typed, *shown;
    float IconDesign::*value;
} TypedNumbers[] = {
    {"decimal", "IconScale", "12.5", "1", &IconDesign::iconScale},
    {"empty text offset", "TextVerticalOffset", "", "40", &IconDesign::textVerticalOffset},
    {"plus sign", "IconHorizontalOffset", "+25", "+25", &IconDesign::iconHorizontalOffset},
    {"trailing blank", "TextHorizontalOffset", "25 ", "0", &IconDesign::textHorizontalOffset},
    {"above the maximum", "FontSize", "20000", "10000", &IconDesign::fontSize},
    {"below the minimum", "IconVerticalOffset", "-20000", "-10000",
     &IconDesign::iconVerticalOffset},
    {"zero font size", "FontSize", "0", "1", &IconDesign::fontSize},
    {"scale above 999", "IconScale", "1000", "999", &IconDesign::iconScale},
    {"beyond 64 bits", "TextVerticalOffset", "9223372036854775808", "40",
     &IconDesign::textVerticalOffset},
    {"exponent", "FontSize", "1e3", "1", &IconDesign::fontSize},
    // Which sizes the canvas takes is the output settings' concern.
    {"zero width", "CanvasWidth", "0", "1", &IconDesign::canvasWidth},
    {"unchanged width", "CanvasWidth", "1024", "1024", &IconDesign::canvasWidth},
    {"too high", "CanvasHeight", "20000", "10000", &IconDesign::canvasHeight},
};

// A number typed but not committed, then stepped one way or another: the step starts from the
// typed number and goes by the field's own increment, within the field's range.
enum class StepBy { UpDownKey, Arrow, Wheel };
const struct {
    const char *row, *key, *typed;
    StepBy by;
    int steps; // +1 up, -1 down
    float stepped;
    float IconDesign::*value;
} StepsFromTyped[] = {
    {"scale, Up key", "IconScale", "37", StepBy::UpDownKey, +1, 38, &IconDesign::iconScale},
    {"scale, down arrow", "IconScale", "37", StepBy::Arrow, -1, 36, &IconDesign::iconScale},
    {"font size by tens, up arrow", "FontSize", "37", StepBy::Arrow, +1, 47, &IconDesign::fontSize},
    {"font size by tens, Down key", "FontSize", "37", StepBy::UpDownKey, -1, 27,
     &IconDesign::fontSize},
    {"up arrow to the maximum", "FontSize", "9995", StepBy::Arrow, +1, 10000,
     &IconDesign::fontSize},
    {"Up key past the maximum", "IconScale", "1200", StepBy::UpDownKey, +1, 999,
     &IconDesign::iconScale},
    {"negative offset, wheel", "TextVerticalOffset", "-37", StepBy::Wheel, -1, -38,
     &IconDesign::textVerticalOffset},
};

// Each layer's switch, the section it heads a group of, and the layer it turns on and off.
const struct {
    const char *check, *section;
    bool IconDesign::*layer;
} LayerSwitches[] = {
    {"checkTransparentBackground", "Background", &IconDesign::transparentBackground},
    {"checkBackgroundStroke", "Background", &IconDesign::backgroundStroke},
    {"checkBackgroundShadow", "Background", &IconDesign::backgroundShadow},
    {"checkIconShadow", "Icon", &IconDesign::iconShadow},
    {"checkTextStroke", "Text", &IconDesign::textStroke},
    {"checkTextShadow", "Text", &IconDesign::textShadow},
};

} // namespace

// The settings panel's fields, the canvas view's zoom, and the controls and question dialogs
// on their own.
class tst_InspectorFields : public QObject {
    Q_OBJECT

private slots:
    // Scrolling the panel over a control changes nothing; a focused control takes the wheel.
    void wheelNeedsFocus_data() {
        QTest::addColumn<QString>("control");
        for (const char* name :
             {"stepperIconScale", "comboFontType", "textFieldFontSize", "sliderCornerCurvature"})
            QTest::newRow(name) << QString(name);
    }
    void wheelNeedsFocus() {
        QFETCH(QString, control);
        EditorFixture editor;
        editor.window->resize(800, 600);
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        auto* panel = editor.window->findChild<QScrollArea*>("scrollAreaSettings");
        auto* widget = editor.Find<QWidget>(control);
        if (auto* slider = qobject_cast<FloatSlider*>(widget))
            widget = slider->slider();
        panel->ensureWidgetVisible(widget);
        const int scrolled = panel->verticalScrollBar()->value();
        const QString design = editor.controller()->MakeProfileText();
        editor.controls().textFieldCanvasWidth->setFocus();
        UserInput::Wheel(widget, scrolled > 0 ? 1 : -1); // towards where the panel can go
        QCOMPARE(editor.controller()->MakeProfileText(), design);
        QVERIFY(panel->verticalScrollBar()->value() != scrolled);
        QVERIFY(!widget->hasFocus());
        widget->setFocus();
        UserInput::Wheel(widget, -1);
        QVERIFY(editor.controller()->MakeProfileText() != design);
    }

    // A caption dragged sideways steps its field; the whole drag is one undo step, also when
    // previews render during it.
    void captionDragIsOneUndoStep() {
        EditorFixture editor;
        const EditorControls& c = editor.controls();
        ScrubLabel* caption = nullptr;
        for (ScrubLabel* label : editor.window->findChildren<ScrubLabel*>())
            caption = label->stepper() == c.stepperIconScale ? label : caption;
        QVERIFY(caption);
        const double before = c.stepperIconScale->value();
        const int history = editor.HistorySize();
        UserInput::Drag(caption, QPointF(2, caption->height() / 2), QPointF(60, 0), 3, {}, [&] {
            QVERIFY(editor.WaitForRenders(editor.Renders() + 1));
            QVERIFY(editor.WaitUntilIdle());
        });
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(300); // a delayed preview would record once more
        QCOMPARE(c.stepperIconScale->value(), before + 60 / 4);
        QCOMPARE(c.textFieldIconScale->text(), QString::number(before + 60 / 4));
        QCOMPARE(editor.HistorySize(), history + 1);
        QVERIFY(editor.Undo());
        QCOMPARE(c.stepperIconScale->value(), before);
    }

    void hexField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("taken"); // empty: refused
        for (const auto& [row, typed, taken] : {std::tuple{"with #", "#FF8000", "#ff8000"},
                                                {"lower case, no #", "12ab9f", "#12ab9f"},
                                                {"pasted with blanks", " #00FF00 ", "#00ff00"},
                                                {"short form", "#FFF", ""},
                                                {"not hex", "#GG0000", ""},
                                                {"name", "red", ""}})
            QTest::newRow(row) << QString(typed) << QString(taken);
    }
    void hexField() {
        QFETCH(QString, typed);
        QFETCH(QString, taken);
        EditorFixture editor;
        ColorWell* well = editor.controls().colorWellTextColor;
        auto* field = editor.Find<HexColorField>("hexFieldTextColor");
        QVERIFY(field);
        const QColor before = well->color().toQColor();
        QCOMPARE(field->text(), before.name().toUpper());
        UserInput::Type(field, typed);
        if (taken.isEmpty()) {
            QVERIFY(field->refused());
            QCOMPARE(well->color().toQColor(), before);
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon"));
            // A colour set from elsewhere shows, and the outline goes.
            well->setColor(Rgba{0, 0, 1, 1});
            QVERIFY(!field->refused());
            QCOMPARE(field->text(), QStringLiteral("#0000FF"));
        } else {
            QVERIFY(!field->refused());
            QCOMPARE(well->color().toQColor().name(), taken);
            QCOMPARE(field->text(), taken.toUpper());
            QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
            QVERIFY(editor.WaitUntilIdle());
            QCOMPARE(editor.log->LastDesign().textColor.toQColor().name(), taken);
        }
    }

    // Output starts closed; each section remembers whether the user left it open.
    void sectionsRememberWhetherTheyAreOpen() {
        QSettings().remove("inspector");
        const auto section = [](const EditorFixture& editor, const char* name) {
            return editor.Find<CollapsibleSection>(QStringLiteral("section") + name);
        };
        {
            EditorFixture editor;
            for (const char* name : {"Canvas", "Background", "Icon", "Text"})
                QVERIFY(section(editor, name)->isOpen());
            QVERIFY(!section(editor, "Output")->isOpen());
            QVERIFY(!editor.controls().comboIconFormat->isVisible());
            section(editor, "Output")->findChild<QToolButton*>()->click();
            section(editor, "Icon")->findChild<QToolButton*>()->click();
            QVERIFY(editor.controls().comboIconFormat->isVisible());
            QVERIFY(!editor.controls().textFieldIconScale->isVisible());
        }
        EditorFixture again;
        QVERIFY(section(again, "Output")->isOpen());
        QVERIFY(!section(again, "Icon")->isOpen());
        QVERIFY(section(again, "Text")->isOpen());
        QSettings().remove("inspector");
    }

    // A click where a layer's switch shows, routed as the screen routes it so that a header
    // under it would take it, turns the layer over; the background's shows in a closed section.
    void layerSwitchesHeadTheirGroups_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(LayerSwitches)); ++row)
            QTest::newRow(LayerSwitches[row].check) << row;
    }
    void layerSwitchesHeadTheirGroups() {
        QFETCH(int, row);
        const QString check = LayerSwitches[row].check;
        const QString section = LayerSwitches[row].section;
        const auto layerOn = [&](const EditorFixture& editor) {
            return editor.log->LastDesign().*LayerSwitches[row].layer;
        };
        QSettings().remove("inspector");
        EditorFixture editor;
        editor.window->resize(1200, 900);
        QVERIFY(QTest::qWaitForWindowExposed(editor.window.get()));
        auto* box = editor.Find<QCheckBox>(check);
        auto* group = editor.Find<CollapsibleSection>("section" + section);
        // The layer's fields (the background has none of its own) stand below its switch.
        const int top = box->mapTo(group, QPoint()).y();
        const QList<QWidget*> fields =
            group->findChildren<QWidget*>(QRegularExpression(check.mid(5) + "\\w"));
        QCOMPARE(fields.isEmpty(), check == "checkTransparentBackground");
        for (QWidget* field : fields)
            QVERIFY2(field->mapTo(group, QPoint()).y() > top, qPrintable(field->objectName()));

        editor.window->findChild<QScrollArea*>("scrollAreaSettings")->ensureWidgetVisible(box);
        QCoreApplication::processEvents();
        const bool before = layerOn(editor);
        const QPoint at = box->mapTo(editor.window.get(), QPoint(6, box->height() / 2));
        QTest::mouseClick(editor.window->windowHandle(), Qt::LeftButton, {}, at);
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(layerOn(editor), !before);
        QVERIFY(group->isOpen());
        QCOMPARE(editor.HistorySize(), 2);
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.Undo());
        QCOMPARE(layerOn(editor), before);
        QCOMPARE(box->isChecked(), before);

        group->setOpen(false);
        QCOMPARE(box->isVisible(), check == "checkTransparentBackground");
        QSettings().remove("inspector");
    }

    // The zoom keys work wherever the focus is; Ctrl + wheel zooms the canvas.
    void zoomKeys() {
        EditorFixture editor;
        QVERIFY(QTest::qWaitForWindowActive(editor.window.get()));
        CustomImageView* canvas = editor.controls().imageViewIcon;
        auto* zoom = editor.Find<QLabel>("statusZoom");
        QVERIFY(canvas->fitting());
        editor.controls().textFieldText->setFocus();
        // Each key with the zoom it gives; 0: fit.
        for (const auto& [key, level] : {std::pair{Qt::Key_1, 1.0},
                                         {Qt::Key_Plus, 1.5},
                                         {Qt::Key_Minus, 1.0},
                                         {Qt::Key_Minus, 0.75},
                                         {Qt::Key_0, 0.0}}) {
            QTest::keyClick(QApplication::focusWidget(), key, Qt::ControlModifier);
            QCOMPARE(canvas->fitting(), level == 0);
            if (level != 0) {
                QCOMPARE(canvas->zoom(), level);
                QCOMPARE(zoom->text(), QStringLiteral("%1 %").arg(level * 100));
            }
        }
        UserInput::Wheel(canvas, 1, Qt::ControlModifier);
        QVERIFY(!canvas->fitting());
        UserInput::Wheel(canvas, -40, Qt::ControlModifier);
        QCOMPARE(canvas->zoom(), CustomImageView::kMinimumZoom);
        // No pixel in the margin; the canvas's middle at the view's middle, fitted or zoomed.
        canvas->ZoomToFit();
        QCOMPARE(canvas->PixelAt(QPoint(0, 0)), QPoint(-1, -1));
        for (const double level : {0.0, 1.0, 4.0}) {
            if (level != 0)
                canvas->setZoom(level);
            const QPoint offCentre = canvas->PixelAt(canvas->rect().center()) - QPoint(512, 512);
            QVERIFY2(qAbs(offCentre.x()) <= 8 && qAbs(offCentre.y()) <= 8,
                     qPrintable(QString::number(level)));
        }
    }

    void typedNumbers_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(TypedNumbers)); ++row)
            QTest::newRow(TypedNumbers[row].row) << row;
    }
    void typedNumbers() {
        QFETCH(int, row);
        const QString key = TypedNumbers[row].key;
        const QString shown = TypedNumbers[row].shown;
        EditorFixture editor;
        auto* field = editor.Find<QLineEdit>("textField" + key);
        UserInput::Type(field, TypedNumbers[row].typed);
        QCOMPARE(field->text(), shown);
        if (auto* stepper = editor.Find<Stepper>("stepper" + key)) {
            QCOMPARE(stepper->value(), shown.toDouble());
        } else {
            // A canvas edit chooses the custom size, even when the value did not change.
            QCOMPARE(editor.Find<QLineEdit>("textFieldCustom" + key.mid(6))->text(), shown);
            QVERIFY(editor.controls().radioCustomSize->isChecked());
        }
        QCOMPARE(editor.Title(), QStringLiteral("Sigilon*"));
        QVERIFY(editor.WaitForRenders(2));
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(editor.log->Design(1).*TypedNumbers[row].value, shown.toFloat());
        QCOMPARE(editor.HistorySize(), 2);
    }

    void stepStartsFromTheTypedNumber_data() {
        QTest::addColumn<int>("row");
        for (int row = 0; row < int(std::size(StepsFromTyped)); ++row)
            QTest::newRow(StepsFromTyped[row].row) << row;
    }
    void stepStartsFromTheTypedNumber() {
        QFETCH(int, row);
        const auto& step = StepsFromTyped[row];
        EditorFixture editor;
        auto* field = editor.Find<QLineEdit>(QStringLiteral("textField") + step.key);
        auto* stepper = editor.Find<Stepper>(QStringLiteral("stepper") + step.key);
        UserInput::Type(field, step.typed, /*confirm=*/false);
        if (step.by == StepBy::UpDownKey)
            QTest::keyClick(field, step.steps > 0 ? Qt::Key_Up : Qt::Key_Down);
        else if (step.by == StepBy::Arrow)
            UserInput::ClickStepper(stepper, step.steps);
        else
            UserInput::Wheel(field, step.steps);
        QCOMPARE(field->text(), QString::number(step.stepped));
        QCOMPARE(stepper->value(), double(step.stepped));
        QTRY_COMPARE(editor.log->LastDesign().*step.value, step.stepped);
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
        // Typed and stepped at once: the typed number is taken, then stepped, a state each.
        UserInput::Type(c.textFieldQuality, "70", /*confirm=*/false);
        UserInput::ClickStepper(c.stepperQuality, +1);
        QCOMPARE(c.textFieldQuality->text(), QStringLiteral("71"));
        QCOMPARE(editor.HistorySize(), 1 + 1 + 4 + 1 + 2);

        // A click on the chosen size set keeps it chosen.
        QCheckBox* check = editor.Find<QCheckBox>("check64mac");
        UserInput::Click(check);
        QVERIFY(!check->isChecked());
        QCOMPARE(editor.HistorySize(), 1 + 1 + 4 + 1 + 2 + 1);
        UserInput::Click(c.radioiOSIconSet);
        UserInput::Click(c.radioiOSIconSet);
        QVERIFY(c.radioiOSIconSet->isChecked() && !c.radioMacOSXIconSet->isChecked());
        UserInput::Click(c.radioCustomSize);
        QVERIFY(!c.radioiOSIconSet->isChecked());
        QCOMPARE(editor.Renders(), 1);
        QCOMPARE(c.textFieldCanvasWidth->text(), QStringLiteral("1024"));
        const int history = editor.HistorySize();
        QVERIFY(editor.Undo());
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

    // A slider keeps a value beyond its ends, for the profiles that hold one; only its handle
    // (in hundredths here) stops at the end.
    void stepperAndSlider() {
        Stepper stepper(0, 10, 2);
        FloatSlider slider({0.0f, 10.0f, 0.01f, 2, {}});
        for (const auto& [set, stepperKeeps, handle] : {std::tuple{3.3, 3.3, 330},
                                                        {25.0, 10.0, 1000},
                                                        {-5.0, 0.0, 0},
                                                        {std::nan(""), 0.0, 0}}) {
            stepper.setValue(set);
            slider.setFloatValue(float(set));
            QCOMPARE(stepper.value(), stepperKeeps);
            if (std::isnan(set))
                QVERIFY(std::isnan(slider.floatValue()));
            else
                QCOMPARE(slider.floatValue(), float(set));
            QCOMPARE(slider.slider()->value(), handle);
        }
    }

    // A focused stepper shows it, and each of its arrows is a comfortable target.
    void stepperFocusAndArrows() {
        QWidget window;
        auto* stepper = new Stepper(0, 10, 1, &window);
        auto* other = new QLineEdit(&window);
        other->move(0, 60);
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        other->setFocus();
        const QImage unfocused = stepper->grab().toImage();
        stepper->setFocus();
        QVERIFY(stepper->hasFocus());
        QVERIFY(stepper->grab().toImage() != unfocused);
        const QList<QToolButton*> arrows = stepper->findChildren<QToolButton*>();
        QCOMPARE(arrows.size(), 2);
        for (const QToolButton* arrow : arrows)
            QVERIFY(arrow->width() >= 24 && arrow->height() >= 16);
    }

    void colorWell() {
        ColorWell well;
        QSignalSpy changed(&well, &ColorWell::colorChanged);
        const Rgba start{0.0, 128.0 / 255.0, 0.123456789012345, 1.0};
        well.setColor(start);
        QCOMPARE(well.color(), start); // full precision
        QCOMPARE(changed.size(), 0);

        // The chooser changes the colour live; cancelling it restores the colour.
        well.click();
        auto* chooser = well.findChild<QColorDialog*>();
        QVERIFY(chooser);
        chooser->setCurrentColor(QColor(255, 0, 0));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(well.color(), (Rgba{1.0, 0.0, 0.0, 1.0}));
        // A profile keeps no alpha.
        QVERIFY(!chooser->testOption(QColorDialog::ShowAlphaChannel));
        chooser->setCurrentColor(QColor(0, 0, 255, 128));
        QCOMPARE(well.color(), (Rgba{0.0, 0.0, 1.0, 1.0}));
        const qsizetype beforeCancel = changed.size();
        chooser->reject();
        QCOMPARE(well.color(), start);
        QCOMPARE(changed.size(), beforeCancel + 1);
    }

    // Escape, or closing a question, gives its last, safe answer; the buttons keep their order.
    void questionsEndWithTheSafeAnswer_data() {
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<bool>("escape"); // else the dialog is closed
        const QStringList yesNo{"Yes", "No"};
        const QStringList overwrite{"Yes", "Yes to All", "No", "No to All"};
        const QStringList unsaved{"Save", "Don't Save", "Cancel"};
        QTest::newRow("Yes/No, Escape") << yesNo << true;
        QTest::newRow("Yes/No, closed") << yesNo << false;
        QTest::newRow("overwrite, Escape") << overwrite << true;
        QTest::newRow("unsaved, closed") << unsaved << false;
    }
    void questionsEndWithTheSafeAnswer() {
        QFETCH(QStringList, buttons);
        QFETCH(bool, escape);
        QtPrompter prompter;
        QStringList shown;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            for (const QPushButton* button : box->findChildren<QPushButton*>())
                shown.append(button->text());
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        QCOMPARE(prompter.Ask(QStringLiteral("Sure?"), buttons), int(buttons.size() - 1));
        QCOMPARE(shown, buttons);
    }
};

QTEST_MAIN(tst_InspectorFields)
#include "tst_InspectorFields.moc"
