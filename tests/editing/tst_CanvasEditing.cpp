// Layers grabbed, moved, scaled and turned on the canvas, snapped to guides and shown against
// the platforms' keylines: the arithmetic under the editor's canvas gestures.

#include "editing/CanvasLayers.h"
#include "editing/CanvasPlacement.h"
#include "editing/Keylines.h"
#include "editing/LayerGesture.h"
#include "editing/SnapGuides.h"
#include "helpers/TestImages.h"
#include "render/DesignGeometry.h"
#include "render/MaskShapes.h"

#include <QtTest>

#include <algorithm>
#include <cmath>

namespace {

// A design whose picture is its canvas, 1024 units: no outline and no background shadow to
// make room for.
IconDesign Plain() {
    IconDesign design;
    design.backgroundStroke = false;
    design.backgroundShadow = false;
    design.text.clear();
    return design;
}

// With a square icon of 200 units in the middle.
IconDesign WithIcon() {
    IconDesign design = Plain();
    design.iconImage = TestImages::Filled(200, 200, Qt::red);
    return design;
}

DesignGeometry::Frame FrameOf(const IconDesign& design) {
    return DesignGeometry::FrameOf(design, false, true);
}

// A point given in canvas units from the canvas's bottom left, y up, as frame units.
QPointF AtCanvas(const IconDesign& design, double x, double y) {
    const QRectF background = FrameOf(design).background;
    return {background.left() + x, background.bottom() - y};
}

IconDesign Applied(IconDesign design, CanvasLayer layer, const LayerValues& values) {
    if (layer == CanvasLayer::Icon) {
        design.iconHorizontalOffset = float(values.offset.x());
        design.iconVerticalOffset = float(values.offset.y());
        design.iconScale = float(values.size);
        design.iconRotation = float(values.rotation);
    } else if (layer == CanvasLayer::Text) {
        design.textHorizontalOffset = float(values.offset.x());
        design.textVerticalOffset = float(values.offset.y());
        design.fontSize = float(values.size);
    }
    design.cornerCurvature = float(values.curvature);
    return design;
}

LayerShape Shape(const IconDesign& design, CanvasLayer layer) {
    const std::vector<LayerShape> shapes = LayerShapes(design, FrameOf(design));
    return *ShapeOf(shapes, layer);
}

bool Near(const QPointF& a, const QPointF& b, double within) {
    return std::abs(a.x() - b.x()) <= within && std::abs(a.y() - b.y()) <= within;
}

} // namespace

class CanvasEditingTest : public QObject {
    Q_OBJECT

private slots:
    void pointerMovementsBecomeOffsetsAtAnyZoomAndPan_data() {
        QTest::addColumn<bool>("outlined");
        QTest::addColumn<QRectF>("picture");
        QTest::addColumn<QPointF>("movement");
        QTest::addColumn<QPointF>("offsetChange");
        // One picture pixel is one unit when the picture is the canvas.
        QTest::newRow("50 %, right and down, y down")
            << false << QRectF(20, 30, 512, 512) << QPointF(100, 50) << QPointF(200, -100);
        QTest::newRow("200 %, panned far")
            << false << QRectF(-1500, -900, 2048, 2048) << QPointF(-30, 40) << QPointF(-15, -20);
        QTest::newRow("fitted 400 px")
            << false << QRectF(0, 0, 400, 400) << QPointF(40, 40) << QPointF(102.4, -102.4);
        // The outline (40) and the shadow's room (6 % each side) share the picture with the
        // canvas: a pixel spans more of it.
        QTest::newRow("outline and shadow") << true << QRectF(0, 0, 512, 512) << QPointF(100, 0)
                                            << QPointF(100 * 1064 * 1.12 / 512, 0);
    }
    void pointerMovementsBecomeOffsetsAtAnyZoomAndPan() {
        QFETCH(bool, outlined);
        QFETCH(QRectF, picture);
        QFETCH(QPointF, movement);
        QFETCH(QPointF, offsetChange);
        IconDesign design = Plain();
        design.backgroundStroke = design.backgroundShadow = outlined;
        const CanvasPlacement placement(design, picture);
        QVERIFY(Near(placement.OffsetChange(movement), offsetChange, 1e-6));
        // The canvas's centre is where the picture's middle is shown.
        QVERIFY(Near(placement.ToScreen(placement.frame().background.center()), picture.center(),
                     1e-6));
        const QPointF somewhere(picture.left() + 17, picture.top() + 230);
        QVERIFY(Near(placement.ToScreen(placement.ToFrame(somewhere)), somewhere, 1e-9));
    }

    void aClickSelectsTheFrontLayerUnderIt_data() {
        QTest::addColumn<QPointF>("canvasPoint");
        QTest::addColumn<int>("layer"); // -1: none
        QTest::addColumn<double>("rotation");
        // The icon (200 units) in the middle, the text "Hi" in the upper half.
        QTest::newRow("the text's letters") << QPointF(512, 700) << int(CanvasLayer::Text) << 0.0;
        QTest::newRow("the icon below it") << QPointF(512, 512) << int(CanvasLayer::Icon) << 0.0;
        QTest::newRow("beside both") << QPointF(150, 150) << int(CanvasLayer::Background) << 0.0;
        QTest::newRow("outside the rounded corner") << QPointF(3, 3) << -1 << 0.0;
        QTest::newRow("off the canvas") << QPointF(-20, 512) << -1 << 0.0;
        // Turned by 45 degrees the image is a diamond inside its rectangle: the rectangle's
        // corner is no longer the image.
        QTest::newRow("turned: rectangle's corner")
            << QPointF(418, 418) << int(CanvasLayer::Background) << 45.0;
        QTest::newRow("turned: the diamond's tip")
            << QPointF(512, 420) << int(CanvasLayer::Icon) << 45.0;
    }
    void aClickSelectsTheFrontLayerUnderIt() {
        QFETCH(QPointF, canvasPoint);
        QFETCH(int, layer);
        QFETCH(double, rotation);
        IconDesign design = WithIcon();
        design.text = QStringLiteral("Hi");
        design.fontSize = 200;
        design.textVerticalOffset = -200; // the line's top 200 units under the canvas's top
        design.iconRotation = float(rotation);
        const std::vector<LayerShape> shapes = LayerShapes(design, FrameOf(design));
        const std::optional<CanvasLayer> hit =
            LayerAt(shapes, AtCanvas(design, canvasPoint.x(), canvasPoint.y()));
        QCOMPARE(hit ? int(*hit) : -1, layer);
    }

    void tabCyclesFrontToBack() {
        IconDesign design = WithIcon();
        design.text = QStringLiteral("A");
        const std::vector<LayerShape> shapes = LayerShapes(design, FrameOf(design));
        QCOMPARE(NextLayer(shapes, std::nullopt, false), CanvasLayer::Text);
        QCOMPARE(NextLayer(shapes, CanvasLayer::Text, false), CanvasLayer::Icon);
        QCOMPARE(NextLayer(shapes, CanvasLayer::Icon, false), CanvasLayer::Background);
        QCOMPARE(NextLayer(shapes, CanvasLayer::Background, false), CanvasLayer::Text);
        QCOMPARE(NextLayer(shapes, CanvasLayer::Text, true), CanvasLayer::Background);
        QCOMPARE(NextLayer(shapes, std::nullopt, true), CanvasLayer::Background);
        // Without text or image only the background is there.
        const IconDesign bare = Plain();
        const std::vector<LayerShape> alone = LayerShapes(bare, FrameOf(bare));
        QCOMPARE(NextLayer(alone, CanvasLayer::Background, false), CanvasLayer::Background);
    }

    void aCornerScalesAboutTheOppositeCornerOrTheCentre_data() {
        QTest::addColumn<int>("layer");
        QTest::addColumn<bool>("aboutCentre");
        QTest::addColumn<double>("rotation");
        QTest::newRow("icon") << int(CanvasLayer::Icon) << false << 0.0;
        QTest::newRow("icon, about its centre") << int(CanvasLayer::Icon) << true << 0.0;
        QTest::newRow("turned icon") << int(CanvasLayer::Icon) << false << 30.0;
        QTest::newRow("text") << int(CanvasLayer::Text) << false << 0.0;
        QTest::newRow("text, about its centre") << int(CanvasLayer::Text) << true << 0.0;
    }
    void aCornerScalesAboutTheOppositeCornerOrTheCentre() {
        QFETCH(int, layer);
        QFETCH(bool, aboutCentre);
        QFETCH(double, rotation);
        const auto which = CanvasLayer(layer);
        IconDesign design = WithIcon();
        design.iconRotation = float(rotation);
        design.iconHorizontalOffset = 100;
        design.text = which == CanvasLayer::Text ? QStringLiteral("H") : QString();
        design.fontSize = 300;
        const LayerShape before = Shape(design, which);
        // The bottom right corner dragged outward, half the box's size further.
        const QPointF press = before.corners[2];
        const QPointF anchor =
            aboutCentre ? before.corners.boundingRect().center() : before.corners[0];
        const QPointF pointer = anchor + (press - anchor) * 1.5;
        const LayerGesture gesture(design, FrameOf(design), before, Handle::BottomRight, press);
        const LayerValues values = gesture.Scaled(pointer, aboutCentre);
        QVERIFY(std::abs(values.size / ValuesOf(design, which).size - 1.5) < 1e-9);
        const LayerShape after = Shape(Applied(design, which, values), which);
        // The corner or centre that was to stay stays (the text's ink within a unit, as its
        // letters' outlines are hinted at each size).
        const QPointF kept = aboutCentre ? after.corners.boundingRect().center() : after.corners[0];
        QVERIFY(Near(kept, anchor, which == CanvasLayer::Text ? 2.0 : 1e-3));
    }

    void theRotationHandleTurnsAboutTheCentre_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<double>("sweep"); // counter-clockwise on the screen
        QTest::addColumn<bool>("inSteps");
        QTest::addColumn<double>("rotation");
        QTest::newRow("a quarter turn") << 0.0 << 90.0 << false << 90.0;
        QTest::newRow("clockwise past zero") << 10.0 << -20.0 << false << 350.0;
        QTest::newRow("steps of 15") << 0.0 << 37.0 << true << 30.0;
        QTest::newRow("steps, half way up") << 0.0 << 38.0 << true << 45.0;
        QTest::newRow("full turn is zero") << 90.0 << 270.0 << false << 0.0;
    }
    void theRotationHandleTurnsAboutTheCentre() {
        QFETCH(double, start);
        QFETCH(double, sweep);
        QFETCH(bool, inSteps);
        QFETCH(double, rotation);
        IconDesign design = WithIcon();
        design.iconRotation = float(start);
        design.iconVerticalOffset = -150;
        const LayerShape shape = Shape(design, CanvasLayer::Icon);
        const QPointF centre = shape.scaleOrigin;
        // Pressed straight right of the centre (y down in the frame), then swept.
        const QPointF press = centre + QPointF(80, 0);
        const double radians = sweep * 3.141592653589793 / 180.0;
        const QPointF pointer = centre + QPointF(80 * std::cos(radians), -80 * std::sin(radians));
        const LayerGesture gesture(design, FrameOf(design), shape, Handle::Rotation, press);
        QVERIFY(std::abs(gesture.Turned(pointer, inSteps).rotation - rotation) < 1e-6);
    }

    void theBackgroundCornerSetsTheRounding_data() {
        QTest::addColumn<double>("curvature");
        QTest::newRow("square") << 0.0;
        QTest::newRow("a fifth") << 0.2;
        QTest::newRow("round") << 1.0;
    }
    void theBackgroundCornerSetsTheRounding() {
        QFETCH(double, curvature);
        // The handle is shown where the rounding crosses the diagonal; put there, the gesture
        // gives that rounding back.
        const IconDesign start = Plain();
        IconDesign aimed = start;
        aimed.cornerCurvature = float(curvature);
        const LayerShape shape = Shape(start, CanvasLayer::Background);
        const std::vector<HandlePoint> handles =
            HandlesOf(shape, QTransform(), CornerRadius(aimed));
        const LayerGesture gesture(start, FrameOf(start), shape, Handle::TopRight,
                                   shape.corners[1]);
        QVERIFY(std::abs(gesture.Rounded(handles[1].at).curvature - curvature) < 1e-6);
        // Dragged past the middle, it stays round.
        QCOMPARE(gesture.Rounded(shape.corners[3]).curvature, 1.0);
    }

    void handlesAreFoundInScreenPixels() {
        const IconDesign design = WithIcon();
        const LayerShape shape = Shape(design, CanvasLayer::Icon);
        // At 25 % a handle is still 6 pixels wide to reach.
        const QTransform quarter = QTransform::fromScale(0.25, 0.25);
        const std::vector<HandlePoint> handles = HandlesOf(shape, quarter, 0);
        const QPointF corner = quarter.map(shape.corners[1]);
        QCOMPARE(HandleAt(handles, corner + QPointF(4, -3)), Handle::TopRight);
        QCOMPARE(HandleAt(handles, corner + QPointF(9, 0)), Handle::None);
        const QPointF top = quarter.map((shape.corners[0] + shape.corners[1]) / 2);
        QCOMPARE(HandleAt(handles, top - QPointF(0, kRotationHandleDistance)), Handle::Rotation);
        QCOMPARE(HandleAt(handles, top), Handle::None);
    }

    void movedBoxesSnapToTheNearestLine_data() {
        QTest::addColumn<QRectF>("box");
        QTest::addColumn<QPointF>("shift");
        QTest::addColumn<int>("guides");
        // Lines at x = 500 and 520, y = 300.
        QTest::newRow("centre onto 500") << QRectF(403, 0, 200, 100) << QPointF(-3, 0) << 1;
        QTest::newRow("right edge onto 520") << QRectF(316, 0, 200, 100) << QPointF(4, 0) << 1;
        QTest::newRow("the nearer of two") << QRectF(411, 0, 200, 100) << QPointF(9 - 0, 0) << 1;
        QTest::newRow("beyond reach") << QRectF(0, 0, 200, 100) << QPointF(0, 0) << 0;
        QTest::newRow("both axes") << QRectF(395, 195, 200, 100) << QPointF(5, 5) << 2;
    }
    void movedBoxesSnapToTheNearestLine() {
        QFETCH(QRectF, box);
        QFETCH(QPointF, shift);
        QFETCH(int, guides);
        const std::vector<SnapLine> lines{
            {Qt::Vertical, 500}, {Qt::Vertical, 520}, {Qt::Horizontal, 300}};
        const Snapped snapped = SnapBox(box, lines, 10.0);
        QVERIFY(Near(snapped.shift, shift, 1e-9));
        QCOMPARE(int(snapped.guides.size()), guides);
    }

    void keylinesLieOnTheCanvasSquare_data() {
        QTest::addColumn<int>("keyline");
        QTest::addColumn<double>("keptWidth"); // of the square's side; 0: cuts nothing
        QTest::newRow("iOS") << int(Keyline::IosGrid) << 1.0;
        QTest::newRow("macOS body") << int(Keyline::MacBody) << 824.0 / 1024.0;
        QTest::newRow("Android safe zone") << int(Keyline::AndroidSafeZone) << 66.0 / 72.0;
        QTest::newRow("Android circle") << int(Keyline::AndroidCircle) << 1.0;
        QTest::newRow("Android squircle") << int(Keyline::AndroidSquircle) << 1.0;
        QTest::newRow("Android rounded") << int(Keyline::AndroidRoundedSquare) << 1.0;
        QTest::newRow("Android teardrop") << int(Keyline::AndroidTeardrop) << 1.0;
        QTest::newRow("web maskable") << int(Keyline::WebMaskable) << 0.8;
        QTest::newRow("Windows tile") << int(Keyline::WindowsTile) << 0.0;
    }
    void keylinesLieOnTheCanvasSquare() {
        QFETCH(int, keyline);
        QFETCH(double, keptWidth);
        // A wide canvas: the keylines are drawn on its centred square.
        const QRectF canvas(100, 50, 1600, 1000);
        const QRectF square(400, 50, 1000, 1000);
        const KeylineDrawing drawing = KeylineOf(Keyline(keyline), canvas);
        QVERIFY(!drawing.lines.isEmpty());
        QVERIFY(square.adjusted(-0.5, -0.5, 0.5, 0.5).contains(drawing.lines.boundingRect()));
        QVERIFY(!drawing.snapLines.empty());
        if (keptWidth == 0.0) {
            QVERIFY(drawing.kept.isEmpty());
            return;
        }
        const QRectF kept = drawing.kept.boundingRect();
        QVERIFY(std::abs(kept.width() - keptWidth * 1000) < 1.0);
        QVERIFY(Near(kept.center(), square.center(), 0.5));
        QVERIFY(drawing.kept.contains(square.center()));
    }

    // The names settings keep: one for each keyline, each standing for its own, none for a
    // name no keyline has.
    void keylineNamesStandForTheirKeylines() {
        QSet<QString> names;
        for (int index = 0; index < kKeylineCount; ++index) {
            const QString name = KeylineName(Keyline(index));
            QVERIFY(!name.isEmpty());
            names.insert(name);
            QCOMPARE(KeylineNamed(name), std::optional(Keyline(index)));
        }
        QCOMPARE(names.size(), kKeylineCount);
        QCOMPARE(KeylineNamed(QStringLiteral("androidsafezone")), std::nullopt);
        QCOMPARE(KeylineNamed(QString()), std::nullopt);
        QCOMPARE(KeylineName(Keyline::AndroidSafeZone), QStringLiteral("androidSafeZone"));
    }

    void theTeardropKeepsOneSquareCorner() {
        const QRectF square(0, 0, 100, 100);
        const QPainterPath teardrop = MaskShapes::Teardrop(square);
        QVERIFY(teardrop.contains(QPointF(98, 2))); // top right: square
        QVERIFY(!teardrop.contains(QPointF(2, 2))); // top left: round
        QVERIFY(!teardrop.contains(QPointF(98, 98)));
        QVERIFY(!teardrop.contains(QPointF(2, 98)));
    }

    void theOverlayTintsWhatAMaskWouldCut_data() {
        QTest::addColumn<int>("keyline");
        QTest::addColumn<double>("iconOffset");
        QTest::addColumn<bool>("cut");
        QTest::addColumn<bool>("shaded");
        QTest::newRow("centred, inside the safe zone")
            << int(Keyline::AndroidSafeZone) << 0.0 << false << true;
        QTest::newRow("near the edge, past it")
            << int(Keyline::AndroidSafeZone) << 380.0 << true << true;
        QTest::newRow("into the maskable margin")
            << int(Keyline::WebMaskable) << 330.0 << true << true;
        QTest::newRow("a padding cuts nothing")
            << int(Keyline::WindowsTile) << 380.0 << false << false;
    }
    void theOverlayTintsWhatAMaskWouldCut() {
        QFETCH(int, keyline);
        QFETCH(double, iconOffset);
        QFETCH(bool, cut);
        QFETCH(bool, shaded);
        IconDesign design = WithIcon();
        design.iconHorizontalOffset = float(iconOffset);
        const DesignGeometry::Frame frame = FrameOf(design);
        const KeylineOverlay overlay = OverlayOf({Keyline(keyline)}, frame.background);
        // The window tints the icon's ink where it lies in the shade: here at its corners.
        const std::vector<LayerShape> shapes = LayerShapes(design, frame);
        const LayerShape& icon = *ShapeOf(shapes, CanvasLayer::Icon);
        const bool tinted =
            std::any_of(icon.corners.begin(), icon.corners.end(),
                        [&](const QPointF& corner) { return overlay.shaded.contains(corner); });
        QCOMPARE(tinted, cut);
        QCOMPARE(!overlay.shaded.isEmpty(), shaded);
    }
};

QTEST_MAIN(CanvasEditingTest)
#include "tst_CanvasEditing.moc"
