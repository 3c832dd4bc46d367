#include "app/ColorWell.h"
#include "app/FloatSlider.h"
#include "app/Stepper.h"

#include <QColorDialog>
#include <QSignalSpy>
#include <QSlider>
#include <QtTest>
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
        chooser->setCurrentColor(QColor(0, 0, 255, 128));
        QCOMPARE(well.color().blue, 1.0);
        QVERIFY(std::abs(well.color().alpha - 128.0 / 255.0) < 1e-3);
        const qsizetype beforeCancel = changed.size();
        chooser->reject();
        QCOMPARE(well.color(), start);
        QCOMPARE(changed.size(), beforeCancel + 1);
    }
};

QTEST_MAIN(tst_Widgets)
#include "tst_Widgets.moc"
