// A layer picture kept from one rendering standing in for the same layer moved: on whole device
// pixels, the nearest to the exact move; never for a layer that differs in anything else, and
// never where the kept picture lacks what the moved layer brings into reach.

#include "render/LayerMove.h"

#include <QtTest>

namespace {

// Half size, with the canvas's origin at (10, 20) on the device.
const QTransform kToDevice = QTransform::fromScale(0.5, 0.5) * QTransform::fromTranslate(10, 20);

QPainterPath Shape() {
    QPainterPath path;
    path.addRect(QRectF(100, 80, 60, 40));
    path.addEllipse(QRectF(180, 90, 30, 50));
    return path;
}

LayerRecipe Recipe(const QPainterPath& path) {
    LayerRecipe recipe;
    recipe.path = path;
    recipe.fill = QColor(200, 30, 60).rgba64();
    recipe.outline = QColor(0, 0, 0).rgba64();
    recipe.outlineWidth = 2.0;
    recipe.toDevice = kToDevice;
    recipe.contentBounds = path.boundingRect();
    recipe.canvas = QSize(400, 300);
    recipe.sigmaX = 3.0;
    recipe.sigmaY = 3.0;
    recipe.shadowOffset = QPointF(2.5, 2.5);
    return recipe;
}

LayerRecipe Moved(const LayerRecipe& recipe, const QPointF& by) {
    LayerRecipe moved = recipe;
    moved.path.translate(by);
    moved.contentBounds.translate(by);
    return moved;
}

// The picture as painted when nothing cuts it: the content's device pixels and one more around.
LayerPicture PictureOf(const LayerRecipe& recipe) {
    const QRect bounds =
        recipe.toDevice.mapRect(recipe.contentBounds).toAlignedRect().adjusted(-1, -1, 1, 1);
    QImage pixels(bounds.size(), QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::red);
    return {bounds, pixels, nullptr};
}

} // namespace

class LayerMoveTest : public QObject {
    Q_OBJECT

private slots:
    void movedLayersTakeThePictureOnWholePixels_data() {
        QTest::addColumn<QPointF>("by");    // units
        QTest::addColumn<QPoint>("pixels"); // half of them, rounded away from zero at halves
        QTest::newRow("whole pixels") << QPointF(8, -6) << QPoint(4, -3);
        QTest::newRow("halves") << QPointF(3, -5) << QPoint(2, -3);
        QTest::newRow("below a half") << QPointF(0.8, 1.2) << QPoint(0, 1);
        QTest::newRow("far") << QPointF(-150, 120) << QPoint(-75, 60);
    }
    void movedLayersTakeThePictureOnWholePixels() {
        QFETCH(QPointF, by);
        QFETCH(QPoint, pixels);
        const LayerRecipe kept = Recipe(Shape());
        const LayerPicture picture = PictureOf(kept);
        const std::optional<LayerPicture> moved = MovedPicture(kept, picture, Moved(kept, by));
        QVERIFY(moved);
        QCOMPARE(moved->bounds, picture.bounds.translated(pixels));
        QCOMPARE(moved->pixels.cacheKey(), picture.pixels.cacheKey());
    }

    void anyOtherDifferenceIsPaintedAnew_data() {
        QTest::addColumn<LayerRecipe>("wanted");
        const LayerRecipe kept = Recipe(Shape());
        const auto row = [&](const char* name, const std::function<void(LayerRecipe&)>& change) {
            LayerRecipe wanted = Moved(kept, QPointF(8, 8));
            change(wanted);
            QTest::newRow(name) << wanted;
        };
        row("fill", [](LayerRecipe& r) { r.fill = QColor(200, 30, 61).rgba64(); });
        row("outline", [](LayerRecipe& r) { r.outline = QColor(0, 0, 1).rgba64(); });
        row("outline width", [](LayerRecipe& r) { r.outlineWidth = 2.5; });
        row("image", [](LayerRecipe& r) { r.image = 42; });
        row("scale", [](LayerRecipe& r) { r.toDevice = r.toDevice * QTransform::fromScale(2, 2); });
        row("canvas", [](LayerRecipe& r) { r.canvas = QSize(401, 300); });
        row("blur", [](LayerRecipe& r) { r.sigmaY = 3.5; });
        row("shadow offset", [](LayerRecipe& r) { r.shadowOffset.rx() += 0.25; });
        row("one point apart", [](LayerRecipe& r) { r.path.setElementPositionAt(2, 170, 128); });
        row("another shape", [](LayerRecipe& r) { r.path.addRect(QRectF(0, 0, 5, 5)); });
        row("fill rule", [](LayerRecipe& r) { r.path.setFillRule(Qt::WindingFill); });
        row("content bounds grown", [](LayerRecipe& r) { r.contentBounds.adjust(-3, -3, 3, 3); });
    }
    void anyOtherDifferenceIsPaintedAnew() {
        QFETCH(LayerRecipe, wanted);
        const LayerRecipe kept = Recipe(Shape());
        QCOMPARE(MovedPicture(kept, PictureOf(kept), wanted).has_value(), false);
    }

    // A picture cut at a side (where the content lies beyond the shadow's reach of the canvas)
    // lacks what comes into reach when the layer moves away from that side.
    void aCutPictureOnlyMovesTowardsItsCut_data() {
        QTest::addColumn<QMargins>("cut"); // null: nothing painted
        QTest::addColumn<QPointF>("by");
        QTest::addColumn<bool>("taken");
        const QMargins left(10, 0, 0, 0), top(0, 10, 0, 0), right(0, 0, 10, 0), bottom(0, 0, 0, 10);
        QTest::newRow("cut on the left, moved left") << left << QPointF(-20, 6) << true;
        QTest::newRow("cut on the left, moved right") << left << QPointF(20, 0) << false;
        QTest::newRow("cut at the top, moved up") << top << QPointF(4, -20) << true;
        QTest::newRow("cut at the top, moved down") << top << QPointF(0, 20) << false;
        QTest::newRow("cut on the right, moved right") << right << QPointF(20, 0) << true;
        QTest::newRow("cut on the right, moved left") << right << QPointF(-20, 0) << false;
        QTest::newRow("cut at the bottom, moved down") << bottom << QPointF(0, 20) << true;
        QTest::newRow("cut at the bottom, moved up") << bottom << QPointF(0, -20) << false;
        QTest::newRow("cut at the bottom, moved sideways") << bottom << QPointF(30, 0) << true;
        QTest::newRow("nothing painted, moved") << QMargins() << QPointF(0, -20) << false;
    }
    void aCutPictureOnlyMovesTowardsItsCut() {
        QFETCH(QMargins, cut);
        QFETCH(QPointF, by);
        QFETCH(bool, taken);
        const LayerRecipe kept = Recipe(Shape());
        LayerPicture picture = cut.isNull() ? LayerPicture{} : PictureOf(kept);
        picture.bounds = picture.bounds.marginsRemoved(cut);
        picture.pixels = QImage(picture.bounds.size(), QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(MovedPicture(kept, picture, Moved(kept, by)).has_value(), taken);
    }
};

QTEST_MAIN(LayerMoveTest)
#include "tst_LayerMove.moc"
