#include "EditorFixture.h"

#include "app/inspector/ColorWell.h"
#include "app/inspector/HexColorField.h"
#include "app/inspector/ScrubLabel.h"

namespace {

void Wheel(QWidget* target, int notches, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    const QPointF at = QRectF(target->rect()).center();
    QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(target, &event);
}

} // namespace

// The settings panel's fields: the wheel, the draggable captions, the hex colour fields, the
// sections, and the canvas view's zoom.
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
};

QTEST_MAIN(tst_InspectorFields)
#include "tst_InspectorFields.moc"
