// Contrast as legibility guidelines define it, and lightening a colour just far enough to reach
// a contrast against a dark background with its hue kept.

#include "design/ColorContrast.h"

#include <QtTest>

class ColorContrastTest : public QObject {
    Q_OBJECT

private slots:
    void ratiosOfKnownPairs_data() {
        QTest::addColumn<QColor>("a");
        QTest::addColumn<QColor>("b");
        QTest::addColumn<double>("ratio");
        QTest::newRow("black and white") << QColor(Qt::black) << QColor(Qt::white) << 21.0;
        QTest::newRow("either order") << QColor(Qt::white) << QColor(Qt::black) << 21.0;
        QTest::newRow("same colour") << QColor(90, 20, 200) << QColor(90, 20, 200) << 1.0;
        // Pure green's luminance is the 0.7152 weight of the green primary.
        QTest::newRow("green on black")
            << QColor(Qt::green) << QColor(Qt::black) << (0.7152 + 0.05) / 0.05;
    }
    void ratiosOfKnownPairs() {
        QFETCH(QColor, a);
        QFETCH(QColor, b);
        QFETCH(double, ratio);
        QVERIFY(qAbs(ColorContrast::Ratio(a, b) - ratio) < 1e-3);
    }

    // Dark colours are lightened on the dark home screen, light ones darkened on the light
    // taskbar, each just far enough and with its hue and alpha kept; a colour legible already
    // stays as it is.
    void colorsAreMovedJustFarEnoughWithTheirHue_data() {
        QTest::addColumn<QColor>("color");
        QTest::addColumn<bool>("onDark");
        QTest::newRow("navy") << QColor(0, 0, 128) << true;
        QTest::newRow("pure blue") << QColor(0, 0, 255) << true;
        QTest::newRow("dark red") << QColor(120, 10, 10) << true;
        QTest::newRow("pure red") << QColor(255, 0, 0) << true;
        QTest::newRow("deep violet") << QColor(60, 0, 110) << true;
        QTest::newRow("forest green") << QColor(20, 70, 30) << true;
        QTest::newRow("black") << QColor(0, 0, 0) << true;
        QTest::newRow("dark gray, half transparent") << QColor(40, 40, 40, 128) << true;
        QTest::newRow("white") << QColor(Qt::white) << false;
        QTest::newRow("yellow") << QColor(255, 220, 0) << false;
        QTest::newRow("sky blue") << QColor(120, 190, 255) << false;
    }
    void colorsAreMovedJustFarEnoughWithTheirHue() {
        QFETCH(QColor, color);
        QFETCH(bool, onDark);
        const double legible = ColorContrast::LegibleRatio;
        const QColor dark = ColorContrast::DarkHomeScreen();
        const QColor background = onDark ? dark : ColorContrast::LightTaskbar();
        QCOMPARE(ColorContrast::Ratio(color, dark) < legible, onDark);
        if (!onDark)
            QCOMPARE(ColorContrast::LegibleOn(color, dark, legible), color);
        const QColor moved = ColorContrast::LegibleOn(color, background, legible);
        const double ratio = ColorContrast::Ratio(moved, background);
        // Whole sRGB steps overshoot a little, never by much.
        QVERIFY2(ratio >= legible && ratio < legible + 0.2, qPrintable(moved.name()));
        QCOMPARE(moved.alpha(), color.alpha());
        QCOMPARE(ColorContrast::RelativeLuminance(moved) > ColorContrast::RelativeLuminance(color),
                 onDark);
        // A constant perceptual hue drifts a little on the HSV wheel (most for blues).
        if (color.hsvSaturation() > 0) {
            const int turn = qAbs(moved.hsvHue() - color.hsvHue());
            QVERIFY2(std::min(turn, 360 - turn) <= 25,
                     qPrintable(color.name() + " became " + moved.name()));
        } else {
            QCOMPARE(moved.hsvSaturation(), 0);
        }
    }
};

QTEST_APPLESS_MAIN(ColorContrastTest)
#include "tst_ColorContrast.moc"
