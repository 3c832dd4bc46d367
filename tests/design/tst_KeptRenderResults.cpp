// The renderer keeps its last prepared icon and its last outlined background for the next
// rendering. What it hands out must always answer the design as it is now: a kept result
// that outlives a change would draw an earlier design.

#include "design/OutlinedShape.h"
#include "design/PreparedIcon.h"
#include "support/TestImages.h"

#include <QtTest>

using TestImages::ColorsClose;
using TestImages::PixelAt;

class KeptRenderResultsTest : public QObject {
    Q_OBJECT

private slots:
    void preparedIconFollowsEveryChange() {
        IconDesign design;
        design.iconImage = TestImages::AsymmetricImage(64, 32); // red left, blue right
        // A point in the lower left quarter, clear of the green corner square.
        auto lowerLeft = [&] { return PixelAt(PreparedIcon(design), 8, 24); };
        QVERIFY(ColorsClose(lowerLeft(), Qt::red, 2));
        QVERIFY(ColorsClose(lowerLeft(), Qt::red, 2)); // asked again, unchanged

        design.iconRotation = 180.0f; // the right half turns to the left
        QVERIFY(ColorsClose(lowerLeft(), Qt::blue, 2));

        design.useImageColors = false;
        design.iconColor = {0.0, 1.0, 0.0, 1.0};
        QVERIFY(ColorsClose(lowerLeft(), Qt::green, 2));
        design.iconColor = {1.0, 1.0, 0.0, 1.0};
        QVERIFY(ColorsClose(lowerLeft(), Qt::yellow, 2));

        design.useImageColors = true;
        design.iconRotation = 0.0f;
        QVERIFY(ColorsClose(lowerLeft(), Qt::red, 2));

        // The same image object painted over: same size, new pixels.
        design.iconImage.fill(Qt::magenta);
        QVERIFY(ColorsClose(lowerLeft(), Qt::magenta, 2));
    }

    void outlinedShapeFollowsShapeAndPen() {
        // The area grows by half the pen width on every side; each step changes the shape or
        // the pen of the one before.
        QPainterPath square;
        square.addRoundedRect(QRectF(0, 0, 100, 100), 20, 20);
        QPainterPath wide;
        wide.addRoundedRect(QRectF(0, 0, 200, 100), 20, 20);
        const struct {
            const QPainterPath& shape;
            double penWidth;
            QRectF expected;
        } steps[] = {
            {square, 4, QRectF(-2, -2, 104, 104)},    {square, 4, QRectF(-2, -2, 104, 104)},
            {wide, 4, QRectF(-2, -2, 204, 104)},      {wide, 30, QRectF(-15, -15, 230, 130)},
            {square, 30, QRectF(-15, -15, 130, 130)}, {square, 4, QRectF(-2, -2, 104, 104)},
        };
        for (const auto& step : steps) {
            QPen pen(Qt::black, step.penWidth);
            pen.setJoinStyle(Qt::MiterJoin);
            const QRectF bounds = ShapeWithOutline(step.shape, pen).boundingRect();
            const QString where = QStringLiteral("pen %1, expected %2 wide, got %3")
                                      .arg(step.penWidth)
                                      .arg(step.expected.width())
                                      .arg(bounds.width());
            QVERIFY2(std::abs(bounds.left() - step.expected.left()) < 0.5 &&
                         std::abs(bounds.top() - step.expected.top()) < 0.5 &&
                         std::abs(bounds.width() - step.expected.width()) < 0.5 &&
                         std::abs(bounds.height() - step.expected.height()) < 0.5,
                     qPrintable(where));
        }
    }
};

QTEST_MAIN(KeptRenderResultsTest)
#include "tst_KeptRenderResults.moc"
