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

    void darkColoursAreLightenedJustEnoughWithTheirHue_data() {
        QTest::addColumn<QColor>("colour");
        QTest::newRow("navy") << QColor(0, 0, 128);
        QTest::newRow("pure blue") << QColor(0, 0, 255);
        QTest::newRow("dark red") << QColor(120, 10, 10);
        QTest::newRow("pure red") << QColor(255, 0, 0);
        QTest::newRow("deep violet") << QColor(60, 0, 110);
        QTest::newRow("forest green") << QColor(20, 70, 30);
        QTest::newRow("black") << QColor(0, 0, 0);
        QTest::newRow("dark gray, half transparent") << QColor(40, 40, 40, 128);
    }
    void darkColoursAreLightenedJustEnoughWithTheirHue() {
        QFETCH(QColor, colour);
        const QColor background = ColorContrast::DarkHomeScreen();
        QVERIFY(ColorContrast::Ratio(colour, background) < ColorContrast::LegibleRatio);
        const QColor lighter =
            ColorContrast::LegibleOn(colour, background, ColorContrast::LegibleRatio);
        const double ratio = ColorContrast::Ratio(lighter, background);
        QVERIFY2(ratio >= ColorContrast::LegibleRatio, qPrintable(lighter.name()));
        // Whole sRGB steps overshoot a little, never by much.
        QVERIFY2(ratio < ColorContrast::LegibleRatio + 0.2, qPrintable(QString::number(ratio)));
        QCOMPARE(lighter.alpha(), colour.alpha());
        // A constant perceptual hue drifts a little on the HSV wheel (most for blues).
        if (colour.hsvSaturation() > 0) {
            const int turn = qAbs(lighter.hsvHue() - colour.hsvHue());
            QVERIFY2(std::min(turn, 360 - turn) <= 25,
                     qPrintable(colour.name() + " became " + lighter.name()));
        } else {
            QCOMPARE(lighter.hsvSaturation(), 0);
        }
    }

    // On the dark home screen light colours stay as they are; on the light taskbar the same rule
    // darkens them.
    void lightColoursAreDarkenedOnALightBackground_data() {
        QTest::addColumn<QColor>("colour");
        QTest::newRow("white") << QColor(Qt::white);
        QTest::newRow("yellow") << QColor(255, 220, 0);
        QTest::newRow("sky blue") << QColor(120, 190, 255);
    }
    void lightColoursAreDarkenedOnALightBackground() {
        QFETCH(QColor, colour);
        QCOMPARE(ColorContrast::LegibleOn(colour, ColorContrast::DarkHomeScreen(),
                                          ColorContrast::LegibleRatio),
                 colour);
        const QColor background = ColorContrast::LightTaskbar();
        const QColor darker =
            ColorContrast::LegibleOn(colour, background, ColorContrast::LegibleRatio);
        const double ratio = ColorContrast::Ratio(darker, background);
        QVERIFY2(ratio >= ColorContrast::LegibleRatio && ratio < ColorContrast::LegibleRatio + 0.2,
                 qPrintable(darker.name()));
        QVERIFY(ColorContrast::RelativeLuminance(darker) <
                ColorContrast::RelativeLuminance(colour));
    }
};

QTEST_APPLESS_MAIN(ColorContrastTest)
#include "tst_ColorContrast.moc"
