#include "app/dialogs/QtPrompter.h"
#include "app/inspector/ColorWell.h"
#include "app/inspector/FloatSlider.h"
#include "app/inspector/Stepper.h"

#include <QtTest>
#include <QtWidgets>
#include <cmath>

// The editor's own controls: values set from code are kept as set (within range) and emit
// nothing; the user's changes emit.
class tst_Widgets : public QObject {
    Q_OBJECT

private slots:
    void stepperAndSlider() {
        Stepper stepper(0, 10, 2);
        FloatSlider slider({0.0f, 10.0f, 0.01f, 2, {}});
        QSignalSpy stepped(&stepper, &Stepper::valueChanged);
        QSignalSpy slid(&slider, &FloatSlider::valueChanged);
        const std::pair<double, double> setAndKept[] = {
            {3.3, 3.3}, {25, 10}, {-5, 0}, {std::nan(""), 0}};
        for (const auto& [set, kept] : setAndKept) {
            stepper.setValue(set);
            slider.setFloatValue(float(set));
            QCOMPARE(stepper.value(), kept);
            QCOMPARE(slider.floatValue(), float(kept));
        }
        QCOMPARE(stepped.size() + slid.size(), 0);

        QTest::keyClick(&stepper, Qt::Key_Up);
        slider.slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(stepper.value(), 2.0);
        QVERIFY(std::abs(slider.floatValue() - 0.01f) < 1e-6f);
        QCOMPARE(stepped.size() + slid.size(), 2);
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
        // A profile keeps no alpha: the chooser offers none and a translucent colour handed
        // to it arrives opaque.
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

QTEST_MAIN(tst_Widgets)
#include "tst_Widgets.moc"
