// Each layer's shadow and outline come from that layer's own values of the design, and a
// shadow is drawn only when it is on and shows.

#include "design/LayerEffects.h"

#include <QtTest>

using DesignValues::Layer;

namespace {

// A design whose shadow and outline values differ from layer to layer and from each other.
IconDesign Distinct() {
    IconDesign d;
    d.backgroundShadow = true;
    d.backgroundShadowColor = {0.1, 0.0, 0.0, 1.0};
    d.backgroundShadowOffset = 1;
    d.backgroundShadowAngle = 2;
    d.backgroundShadowBlur = 3;
    d.iconShadow = false;
    d.iconShadowColor = {0.0, 0.2, 0.0, 1.0};
    d.iconShadowOffset = 4;
    d.iconShadowAngle = 5;
    d.iconShadowBlur = 6;
    d.textShadow = true;
    d.textShadowColor = {0.0, 0.0, 0.3, 1.0};
    d.textShadowOffset = 7;
    d.textShadowAngle = 8;
    d.textShadowBlur = 9;
    d.backgroundStroke = false;
    d.backgroundStrokeColor = {0.4, 0.0, 0.0, 1.0};
    d.backgroundStrokeSize = 10;
    d.textStroke = true;
    d.textStrokeColor = {0.0, 0.5, 0.0, 1.0};
    d.textStrokeSize = 11;
    return d;
}

} // namespace

Q_DECLARE_METATYPE(Layer)

class LayerEffectsTest : public QObject {
    Q_OBJECT

private slots:
    void eachLayerReadsItsOwnValues_data() {
        QTest::addColumn<Layer>("layer");
        QTest::addColumn<bool>("shadowOn");
        QTest::addColumn<double>("red");
        QTest::addColumn<double>("green");
        QTest::addColumn<double>("blue");
        QTest::addColumn<double>("distance");
        QTest::addColumn<double>("angle");
        QTest::addColumn<double>("blur");
        QTest::newRow("background")
            << Layer::Background << true << 0.1 << 0.0 << 0.0 << 1.0 << 2.0 << 3.0;
        QTest::newRow("icon") << Layer::Icon << false << 0.0 << 0.2 << 0.0 << 4.0 << 5.0 << 6.0;
        QTest::newRow("text") << Layer::Text << true << 0.0 << 0.0 << 0.3 << 7.0 << 8.0 << 9.0;
    }
    void eachLayerReadsItsOwnValues() {
        QFETCH(Layer, layer);
        QFETCH(bool, shadowOn);
        QFETCH(double, red);
        QFETCH(double, green);
        QFETCH(double, blue);
        QFETCH(double, distance);
        QFETCH(double, angle);
        QFETCH(double, blur);
        const Shadow shadow = ShadowOf(Distinct(), layer);
        QCOMPARE(shadow.on, shadowOn);
        QCOMPARE(shadow.color, (Rgba{red, green, blue, 1.0}));
        QCOMPARE(shadow.distance, distance);
        QCOMPARE(shadow.angle, angle);
        QCOMPARE(shadow.blur, blur);
    }

    void outlinesOfTheBackgroundAndTheTextOnly() {
        const IconDesign design = Distinct();
        const Outline background = OutlineOf(design, Layer::Background);
        QVERIFY(!background.on);
        QCOMPARE(background.color, (Rgba{0.4, 0.0, 0.0, 1.0}));
        QCOMPARE(background.size, 10.0);
        const Outline text = OutlineOf(design, Layer::Text);
        QVERIFY(text.on);
        QCOMPARE(text.color, (Rgba{0.0, 0.5, 0.0, 1.0}));
        QCOMPARE(text.size, 11.0);
        QVERIFY(!OutlineOf(design, Layer::Icon).on);
        QVERIFY(!ShadowOf(design, Layer::None).on);
    }

    void castOnlyWhenOnAndShowing_data() {
        QTest::addColumn<bool>("on");
        QTest::addColumn<double>("alpha");
        QTest::addColumn<bool>("cast");
        QTest::newRow("on, opaque") << true << 1.0 << true;
        QTest::newRow("on, faint") << true << 0.05 << true;
        QTest::newRow("on, wholly transparent") << true << 0.0 << false;
        QTest::newRow("off, opaque") << false << 1.0 << false;
    }
    void castOnlyWhenOnAndShowing() {
        QFETCH(bool, on);
        QFETCH(double, alpha);
        QFETCH(bool, cast);
        const Shadow shadow{on, {0.0, 0.0, 0.0, alpha}, 10.0, 45.0, 5.0};
        QCOMPARE(shadow.isCast(), cast);
    }
};

QTEST_APPLESS_MAIN(LayerEffectsTest)
#include "tst_LayerEffects.moc"
