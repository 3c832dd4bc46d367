#include "EditorFixture.h"

#include "app/inspector/ColorWell.h"
#include "app/inspector/HexColorField.h"
#include "app/inspector/ScrubLabel.h"

#include <tuple>

namespace {

void Wheel(QWidget* target, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

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

// The settings panel's fields: the wheel, the draggable captions, the hex colour fields, the
// sections and the canvas view's zoom. Typed numbers: each field falls back and clamps, then
// hands its value to its stepper (or a canvas field to its custom size); every commit renders
// and marks the title.
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
        Wheel(widget, scrolled > 0 ? 1 : -1); // towards where the panel can go
        QCOMPARE(editor.controller()->MakeProfileText(), design);
        QVERIFY(panel->verticalScrollBar()->value() != scrolled);
        QVERIFY(!widget->hasFocus());
        widget->setFocus();
        Wheel(widget, -1);
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
        QPoint at(2, caption->height() / 2);
        QTest::mousePress(caption, Qt::LeftButton, {}, at);
        for (int move = 0; move < 3; ++move) {
            at.rx() += 20;
            QMouseEvent event(QEvent::MouseMove, at, caption->mapToGlobal(at), Qt::NoButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(caption, &event);
            const int renders = editor.Renders();
            QVERIFY(editor.WaitForRenders(renders + 1));
            QVERIFY(editor.WaitUntilIdle());
        }
        QTest::mouseRelease(caption, Qt::LeftButton, {}, at);
        QVERIFY(editor.WaitUntilIdle());
        QTest::qWait(300); // a delayed preview would record once more
        QCOMPARE(c.stepperIconScale->value(), before + 60 / 4);
        QCOMPARE(c.textFieldIconScale->text(), QString::number(before + 60 / 4));
        QCOMPARE(editor.HistorySize(), history + 1);
        editor.controller()->OnUndo();
        QVERIFY(editor.WaitUntilIdle());
        QCOMPARE(c.stepperIconScale->value(), before);
    }

    void hexField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("taken"); // empty: refused
        QTest::newRow("with #") << "#FF8000"
                                << "#ff8000";
        QTest::newRow("lower case, no #") << "12ab9f"
                                          << "#12ab9f";
        QTest::newRow("pasted with blanks") << " #00FF00 "
                                            << "#00ff00";
        QTest::newRow("short form") << "#FFF"
                                    << "";
        QTest::newRow("not hex") << "#GG0000"
                                 << "";
        QTest::newRow("name") << "red"
                              << "";
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

    // A layer's switch heads its group. A click where it shows (routed as the screen routes
    // it, so a header under the switch would take it) turns the layer over in one undo step
    // and leaves the section open; the background's switch shows while its section is closed.
    void layerSwitchesHeadTheirGroups_data() {
        QTest::addColumn<QString>("check");
        QTest::addColumn<QString>("section");
        for (const auto& [check, section] : {std::pair{"checkTransparentBackground", "Background"},
                                             {"checkBackgroundStroke", "Background"},
                                             {"checkBackgroundShadow", "Background"},
                                             {"checkIconShadow", "Icon"},
                                             {"checkTextStroke", "Text"},
                                             {"checkTextShadow", "Text"}})
            QTest::newRow(check) << QString(check) << QString(section);
    }
    void layerSwitchesHeadTheirGroups() {
        QFETCH(QString, check);
        QFETCH(QString, section);
        const QHash<QString, bool IconDesign::*> layers{
            {"checkTransparentBackground", &IconDesign::transparentBackground},
            {"checkBackgroundStroke", &IconDesign::backgroundStroke},
            {"checkBackgroundShadow", &IconDesign::backgroundShadow},
            {"checkIconShadow", &IconDesign::iconShadow},
            {"checkTextStroke", &IconDesign::textStroke},
            {"checkTextShadow", &IconDesign::textShadow}};
        const auto layerOn = [&](const EditorFixture& editor) {
            return editor.log->LastDesign().*layers.value(check);
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
        editor.menu().undo->trigger();
        QVERIFY(editor.WaitUntilIdle());
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
        const struct {
            QKeyCombination keys;
            double zoom; // 0: fit
        } steps[] = {{Qt::CTRL | Qt::Key_1, 1.0},
                     {Qt::CTRL | Qt::Key_Plus, 1.5},
                     {Qt::CTRL | Qt::Key_Minus, 1.0},
                     {Qt::CTRL | Qt::Key_Minus, 0.75},
                     {Qt::CTRL | Qt::Key_0, 0}};
        for (const auto& step : steps) {
            QTest::keyClick(QApplication::focusWidget(), step.keys.key(),
                            step.keys.keyboardModifiers());
            QCOMPARE(canvas->fitting(), step.zoom == 0);
            if (step.zoom != 0) {
                QCOMPARE(canvas->zoom(), step.zoom);
                QCOMPARE(zoom->text(), QStringLiteral("%1 %").arg(step.zoom * 100));
            }
        }
        Wheel(canvas, 1, Qt::ControlModifier);
        QVERIFY(!canvas->fitting());
        Wheel(canvas, -40, Qt::ControlModifier);
        QCOMPARE(canvas->zoom(), CustomImageView::kMinimumZoom);
        // The pixel under the pointer: none in the margin around the fitted picture, the
        // canvas's middle at the view's middle, fitted or zoomed about it.
        canvas->ZoomToFit();
        QCOMPARE(canvas->PixelAt(QPoint(0, 0)), QPoint(-1, -1));
        for (const double level : {0.0, 1.0, 4.0}) {
            if (level != 0)
                canvas->setZoom(level);
            const QPoint middle = canvas->PixelAt(canvas->rect().center());
            QVERIFY2(std::abs(middle.x() - 512) <= 8 && std::abs(middle.y() - 512) <= 8,
                     qPrintable(
                         QStringLiteral("%1: %2, %3").arg(level).arg(middle.x()).arg(middle.y())));
        }
    }

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
            // Which sizes the canvas takes is the output settings' concern.
            {"zero width", "CanvasWidth", "0", "1"},
            {"unchanged width", "CanvasWidth", "1024", "1024"},
            {"too high", "CanvasHeight", "20000", "10000"},
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

QTEST_MAIN(tst_InspectorFields)
#include "tst_InspectorFields.moc"
