// The walk over a design's layers that the raster picture and the SVG document both draw: which
// layers it gives and in what order, which shadow each casts, and their outlines.

#include "helpers/TestDesigns.h"
#include "render/DesignGeometry.h"
#include "render/LayerStack.h"

#include <QtTest>

namespace {

using DesignValues::Layer;
using Layers = RenderOptions::Layers;

// Every layer present, each shadow with its own distance so that a test tells them apart.
IconDesign Rich() {
    IconDesign design;
    design.canvasWidth = design.canvasHeight = 400;
    design.iconImage = TestDesigns::RasterIcon();
    design.iconShadow = true;
    design.iconShadowOffset = 11;
    design.text = QStringLiteral("Ab");
    design.fontSize = 200;
    design.textShadow = true;
    design.textShadowOffset = 22;
    design.backgroundShadow = true;
    design.backgroundShadowOffset = 33;
    return design;
}

LayerStack StackOfRich(const TestDesigns::Change& change, const RenderOptions& options) {
    IconDesign design = Rich();
    change(design);
    return StackOf(DesignGeometry::ForDrawing(design), options);
}

QString PartsOf(const LayerStack& stack) {
    QStringList parts;
    for (const StackedLayer& layer : stack.layers)
        parts << (layer.part == Layer::Background ? "background"
                  : layer.part == Layer::Icon     ? "icon"
                  : layer.part == Layer::Text     ? "text"
                                                  : "none");
    return parts.join(' ');
}

// The distance of the shadow that is drawn, or 0 for none.
double CastDistance(const Shadow& shadow) {
    return shadow.isCast() ? shadow.distance : 0.0;
}

double CastDistanceOf(const LayerStack& stack, Layer part) {
    for (const StackedLayer& layer : stack.layers)
        if (layer.part == part)
            return CastDistance(layer.shadow);
    return -1.0; // the layer is not drawn at all
}

RenderOptions Options(Layers layers, bool fullBleed = false, bool glyphShadows = true) {
    RenderOptions options;
    options.layers = layers;
    options.fullBleed = fullBleed;
    options.glyphShadows = glyphShadows;
    return options;
}

const RenderOptions kFullBleed = Options(Layers::All, true);
const RenderOptions kNoGlyphShadows = Options(Layers::All, false, false);

} // namespace

Q_DECLARE_METATYPE(RenderOptions)

class LayerStackTest : public QObject {
    Q_OBJECT

private slots:
    void layersBackToFront_data() {
        using TestDesigns::Change;
        QTest::addColumn<Change>("change");
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<QString>("parts");
        const Change none = [](IconDesign&) {};
        const Change transparent = [](IconDesign& d) { d.transparentBackground = true; };
        QTest::newRow("everything") << none << RenderOptions{} << "background icon text";
        QTest::newRow("SVG icon image")
            << Change([](IconDesign& d) { TestDesigns::UseSvgIcon(d, "gvim.svg"); })
            << RenderOptions{} << "background icon text";
        QTest::newRow("transparent background") << transparent << RenderOptions{} << "icon text";
        QTest::newRow("transparent, full bleed on its plate")
            << transparent << kFullBleed << "background icon text";
        QTest::newRow("no icon image") << Change([](IconDesign& d) { d.iconImage = QImage(); })
                                       << RenderOptions{} << "background text";
        QTest::newRow("no text") << Change([](IconDesign& d) { d.text.clear(); }) << RenderOptions{}
                                 << "background icon";
        QTest::newRow("text of spaces only")
            << Change([](IconDesign& d) { d.text = QStringLiteral("   "); }) << RenderOptions{}
            << "background icon";
        QTest::newRow("background alone") << none << Options(Layers::Background) << "background";
        QTest::newRow("glyphs alone") << none << Options(Layers::Glyphs) << "icon text";
    }
    void layersBackToFront() {
        QFETCH(TestDesigns::Change, change);
        QFETCH(RenderOptions, options);
        QFETCH(QString, parts);
        const LayerStack stack = StackOfRich(change, options);
        QCOMPARE(PartsOf(stack), parts);
        // The background shape cuts the icon and the text, never itself.
        for (const StackedLayer& layer : stack.layers)
            QCOMPARE(layer.clippedToBackground, layer.part != Layer::Background);
    }

    // Each layer casts its own shadow; the background's is cast beneath the whole picture.
    void shadowsEachLayerCasts_data() {
        using TestDesigns::Change;
        QTest::addColumn<Change>("change");
        QTest::addColumn<RenderOptions>("options");
        QTest::addColumn<double>("icon");
        QTest::addColumn<double>("text");
        QTest::addColumn<double>("beneath");
        const Change none = [](IconDesign&) {};
        QTest::newRow("each its own") << none << RenderOptions{} << 11.0 << 22.0 << 33.0;
        QTest::newRow("a text without shadow has none, not the icon's")
            << Change([](IconDesign& d) { d.textShadow = false; }) << RenderOptions{} << 11.0 << 0.0
            << 33.0;
        QTest::newRow("an icon without shadow, a text with one")
            << Change([](IconDesign& d) { d.iconShadow = false; }) << RenderOptions{} << 0.0 << 22.0
            << 33.0;
        QTest::newRow("glyph shadows off") << none << kNoGlyphShadows << 0.0 << 0.0 << 33.0;
        QTest::newRow("wholly transparent shadow")
            << Change([](IconDesign& d) { d.textShadowColor.alpha = 0.0; }) << RenderOptions{}
            << 11.0 << 0.0 << 33.0;
        QTest::newRow("transparent background")
            << Change([](IconDesign& d) { d.transparentBackground = true; }) << RenderOptions{}
            << 11.0 << 22.0 << 0.0;
        QTest::newRow("background shadow off")
            << Change([](IconDesign& d) { d.backgroundShadow = false; }) << RenderOptions{} << 11.0
            << 22.0 << 0.0;
        QTest::newRow("full bleed") << none << kFullBleed << 11.0 << 22.0 << 0.0;
        QTest::newRow("glyphs alone") << none << Options(Layers::Glyphs) << 11.0 << 22.0 << 0.0;
    }
    void shadowsEachLayerCasts() {
        QFETCH(TestDesigns::Change, change);
        QFETCH(RenderOptions, options);
        QFETCH(double, icon);
        QFETCH(double, text);
        QFETCH(double, beneath);
        const LayerStack stack = StackOfRich(change, options);
        QCOMPARE(CastDistanceOf(stack, Layer::Icon), icon);
        QCOMPARE(CastDistanceOf(stack, Layer::Text), text);
        QCOMPARE(CastDistance(stack.beneath), beneath);
        for (const StackedLayer& layer : stack.layers)
            if (layer.part == Layer::Background)
                QVERIFY(!layer.shadow.isCast());
    }

    // Text lying wholly outside the background shows only through its shadow: without one it
    // is no layer at all.
    void textOutsideTheBackgroundNeedsItsShadow() {
        IconDesign design = Rich();
        design.iconImage = QImage();
        design.text = QStringLiteral("I");
        design.fontSize = 100;
        // Above the canvas, farther than glyphs can overhang their line (the font size).
        design.textVerticalOffset = design.canvasHeight + 160;
        design.textShadowOffset = 500;
        design.textShadowAngle = 270; // straight down, into the background
        const IconDesign drawn = DesignGeometry::ForDrawing(design);
        QCOMPARE(PartsOf(StackOf(drawn)), QStringLiteral("background text"));
        QCOMPARE(PartsOf(StackOf(drawn, kNoGlyphShadows)), QStringLiteral("background"));
    }

    // Outlines are given as the widths drawn: the background's in canvas units, the text's a
    // percentage of the font size.
    void outlinesAtTheirDrawnWidth() {
        IconDesign design = Rich();
        design.backgroundStrokeSize = 24;
        design.backgroundStrokeColor = {0.5, 0.25, 0.75, 1.0};
        design.textStroke = true;
        design.textStrokeSize = 5;
        design.textStrokeColor = {0.1, 0.2, 0.3, 1.0};
        LayerStack stack = StackOf(DesignGeometry::ForDrawing(design));
        QCOMPARE(PartsOf(stack), QStringLiteral("background icon text"));
        const Outline& background = stack.layers[0].outline;
        QVERIFY(background.on);
        QCOMPARE(background.size, 24.0);
        QCOMPARE(background.color, design.backgroundStrokeColor);
        QVERIFY(!stack.layers[1].outline.on);
        const Outline& text = stack.layers[2].outline;
        QVERIFY(text.on);
        QCOMPARE(text.size, 10.0); // 5 % of 200
        QCOMPARE(text.color, design.textStrokeColor);

        design.backgroundStroke = false;
        design.textStroke = false;
        stack = StackOf(DesignGeometry::ForDrawing(design));
        QVERIFY(!stack.layers[0].outline.on);
        QVERIFY(!stack.layers[2].outline.on);
        // Full bleed has no outline, whatever the design sets.
        design.backgroundStroke = true;
        QVERIFY(!StackOf(DesignGeometry::ForDrawing(design), kFullBleed).layers[0].outline.on);
    }
};

QTEST_MAIN(LayerStackTest)
#include "tst_LayerStack.moc"
