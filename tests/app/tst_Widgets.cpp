#include "app/ColorWell.h"
#include "app/FloatSlider.h"
#include "app/SingleLineValidator.h"
#include "app/Stepper.h"

#include <QColorDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>
#include <cmath>

// The editor's own controls: values set from code stay exactly as set and emit nothing; the
// user's changes emit.
class tst_Widgets : public QObject {
    Q_OBJECT

private slots:
    void stepper() {
        Stepper stepper(-10, 10, 2);
        QSignalSpy changed(&stepper, &Stepper::valueChanged);
        stepper.setValue(3);
        QCOMPARE(stepper.value(), 3.0);
        stepper.setValue(25);
        QCOMPARE(stepper.value(), 10.0);
        stepper.setValue(std::nan(""));
        QCOMPARE(stepper.value(), -10.0);
        QCOMPARE(changed.size(), 0);

        stepper.setValue(7);
        QTest::keyClick(&stepper, Qt::Key_Up);
        QCOMPARE(stepper.value(), 9.0);
        QTest::keyClick(&stepper, Qt::Key_Up); // clamped to the maximum
        QCOMPARE(stepper.value(), 10.0);
        QTest::keyClick(&stepper, Qt::Key_Up); // already there: no change, no signal
        QCOMPARE(changed.size(), 2);
        QTest::keyClick(&stepper, Qt::Key_Down);
        QCOMPARE(stepper.value(), 8.0);
        QCOMPARE(changed.size(), 3);
    }

    void floatSliderKeepsValuesAsSet() {
        FloatSlider slider({0.0f, 1.0f, 0.01f, 2, {}});
        QSignalSpy changed(&slider, &FloatSlider::valueChanged);
        slider.setFloatValue(0.2f);
        QCOMPARE(slider.floatValue(), 0.2f);
        slider.setFloatValue(0.123456f); // between two positions, kept exactly
        QCOMPARE(slider.floatValue(), 0.123456f);
        slider.setFloatValue(3.0f);
        QCOMPARE(slider.floatValue(), 1.0f);
        slider.setFloatValue(std::nanf(""));
        QCOMPARE(slider.floatValue(), 0.0f);
        QCOMPARE(changed.size(), 0);

        slider.setFloatValue(0.5f);
        slider.slider()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(changed.size(), 1);
        QVERIFY(std::abs(slider.floatValue() - 0.51f) < 1e-6f);
        slider.slider()->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(slider.floatValue(), 1.0f);
        QCOMPARE(changed.size(), 2);
    }

    void colorWellKeepsFullPrecision() {
        ColorWell well;
        QSignalSpy changed(&well, &ColorWell::colorChanged);
        const Rgba exact{0.0, 128.0 / 255.0, 0.123456789012345, 0.5};
        well.setColor(exact);
        QCOMPARE(well.color(), exact);
        QCOMPARE(changed.size(), 0);
    }

    void colorWellChooserChangesLiveAndCancelRestores() {
        ColorWell well;
        const Rgba start{0.25, 0.5, 0.75, 1.0};
        well.setColor(start);
        QSignalSpy changed(&well, &ColorWell::colorChanged);
        well.click();
        auto* chooser = well.findChild<QColorDialog*>();
        QVERIFY(chooser);
        chooser->setCurrentColor(QColor(255, 0, 0));
        QCOMPARE(changed.size(), 1);
        QCOMPARE(well.color(), (Rgba{1.0, 0.0, 0.0, 1.0}));
        // The chooser may pass through the colour before its alpha; the well follows it.
        chooser->setCurrentColor(QColor(0, 0, 255, 128));
        QVERIFY(changed.size() >= 2);
        QCOMPARE(well.color().blue, 1.0);
        QVERIFY(std::abs(well.color().alpha - 128.0 / 255.0) < 1e-3);

        const qsizetype beforeCancel = changed.size();
        chooser->reject();
        QCOMPARE(well.color(), start);
        QCOMPARE(changed.size(), beforeCancel + 1);
    }

    void singleLineValidator_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("kept");
        QTest::newRow("plain") << "Icon[Size]"
                               << "Icon[Size]";
        QTest::newRow("line feed") << "a\nb"
                                   << "a b";
        QTest::newRow("every break")
            << QStringLiteral("1\n2\v3\f4\r5\u00856\u20287\u20298") << "1 2 3 4 5 6 7 8";
        QTest::newRow("tab stays") << "a\tb"
                                   << "a\tb";
    }
    void singleLineValidator() {
        QFETCH(QString, typed);
        QFETCH(QString, kept);
        QLineEdit field;
        field.setValidator(new SingleLineValidator(&field));
        field.insert(typed);
        QCOMPARE(field.text(), kept);
    }
};

QTEST_MAIN(tst_Widgets)
#include "tst_Widgets.moc"
